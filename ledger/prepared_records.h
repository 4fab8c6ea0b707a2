// The records a walker builds in MoveReady and hands out, in turn or by
// index, until MoveFinish.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "host/host.h"
#include "ledger/rule_common.h"

namespace ltb::ledger {

template <typename Record>
class PreparedRecords {
 public:
  // Drops the records and frees their memory: reads answer kWalkNotReady
  // until Ready.
  void Reset() {
    records_ = {};
    next_ = 0;
    ready_ = false;
  }

  // Takes the records of a finished MoveReady; reading starts at the first.
  void Ready(std::vector<Record> records) {
    records_ = std::move(records);
    next_ = 0;
    ready_ = true;
  }

  long Count(long* count) const {
    if (count == nullptr) return kWalkBadArgument;
    *count = static_cast<long>(records_.size());
    return ready_ ? host::kOk : kWalkNotReady;
  }

  // Moves the read position; `pos` may be one past the last record.
  long Seek(long pos) {
    if (!ready_) return kWalkNotReady;
    if (pos < 0 || static_cast<size_t>(pos) > records_.size()) return kWalkBadArgument;
    next_ = static_cast<size_t>(pos);
    return host::kOk;
  }

  long Next(Record* record) {
    if (record == nullptr) return kWalkBadArgument;
    if (!ready_) return kWalkNotReady;
    if (next_ >= records_.size()) return host::kEndOfData;
    *record = records_[next_++];
    return host::kOk;
  }

  // *record points at record `index`; kEndOfData when there is none.
  long At(long index, const Record** record) const {
    if (!ready_) return kWalkNotReady;
    if (index < 0 || static_cast<size_t>(index) >= records_.size()) return host::kEndOfData;
    *record = &records_[static_cast<size_t>(index)];
    return host::kOk;
  }

 private:
  std::vector<Record> records_;
  size_t next_ = 0;
  bool ready_ = false;
};

}  // namespace ltb::ledger
