#include "ledger/rule_common.h"

#include <cstdlib>
#include <new>

#include "host/month_slots.h"
#include "platform/cp932.h"

namespace ltb::ledger {

void DatasetBinding::Bind(const char* dataId) {
  bound_ = true;
  std::string utf8 = platform::Cp932ToUtf8(dataId ? dataId : "");
  dataset_ = utf8.empty() ? db_.selected_dataset() : db_.DatasetNoOf(utf8);
}

int DatasetBinding::Dataset() const { return bound_ ? dataset_ : db_.selected_dataset(); }

bool JournalEntryView::Test(const FindTerm& t) const {
  switch (t.field) {
    case host::StFINDINFO::kTaxCategory:
      if (t.side == 1) return CompareValues(t.compare, entry.debit().category, t.value);
      if (t.side == 2) return CompareValues(t.compare, entry.credit().category, t.value);
      return CompareValues(t.compare, entry.debit().category, t.value) ||
             CompareValues(t.compare, entry.credit().category, t.value);
    case host::StFINDINFO::kMonth: return CompareMonthSlots(t.compare, entry.slot, t.value);
    default: return false;
  }
}

bool JournalSideView::Test(const FindTerm& t) const {
  switch (t.field) {
    case host::StFINDINFO::kTaxCategory:
      return CompareValues(t.compare, entry.side[side].category, t.value);
    case host::StFINDINFO::kMonth: return CompareMonthSlots(t.compare, entry.slot, t.value);
    default: return false;
  }
}

JournalEntryFilter::JournalEntryFilter(const host::StFINDINFO* items) : condition_(items) {}

void JournalEntryFilter::FreeDeleter::operator()(uint8_t* p) const { std::free(p); }

void JournalEntryFilter::AllocateMemo() {
  // calloc of a large block maps fresh zero pages instead of clearing them.
  auto* table = static_cast<uint8_t*>(std::calloc(size_t{1} << 20, 1));
  if (table == nullptr) throw std::bad_alloc();
  memo_.reset(table);
}

int SumSlotIndex(int16_t monthSlot) {
  if (monthSlot >= 1 && monthSlot <= 12) return monthSlot;
  if (monthSlot == host::kYearEndClosingSlot) return 13;
  if (monthSlot == host::kInterimClosingSlot) return 14;
  return -1;
}

std::shared_ptr<const JournalCache> AcquireJournal(const DatasetBinding& binding, long* status) {
  int dataset = binding.Dataset();
  if (dataset == 0) {
    *status = kWalkNoDataset;
    return nullptr;
  }
  std::string error;
  bool stopped = false;
  auto cache = JournalCache::Acquire(binding.db(), dataset, &error, &stopped);
  *status = cache ? host::kOk : (stopped ? host::kStoppedByRequest : kWalkReadFailed);
  return cache;
}

}  // namespace ltb::ledger
