// The journal of a dataset in entry order, encoded compactly and kept off
// the heap once it outgrows a fixed budget.
//
// Entries are appended in entry order and read back in the same order by
// any number of readers. The first `memoryBudget` bytes of encoded entries
// stay in memory; the rest goes, in blocks, to an unnamed temporary file
// (created with O_TMPFILE in $TMPDIR, else /var/tmp, else /tmp), so the
// process's memory does not grow with the journal. When no temporary file
// can be made or written, the blocks stay in memory instead: the answers
// are the same, only the memory is not bounded.
//
// A spool is filled by one thread and then only read; reading is safe from
// several threads at once (each with its own Reader).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ledger/journal_entry.h"

namespace ltb::ledger {

class JournalSpool {
 public:
  // Bytes of encoded entries kept in memory before blocks go to the file.
  static constexpr size_t kDefaultMemoryBudget = size_t{4} << 20;
  // Size of a block (whole entries; at most this many bytes).
  static constexpr size_t kBlockBytes = size_t{1} << 20;

  explicit JournalSpool(size_t memoryBudget = kDefaultMemoryBudget);
  ~JournalSpool();
  JournalSpool(const JournalSpool&) = delete;
  JournalSpool& operator=(const JournalSpool&) = delete;

  void Append(const JournalEntry& e);
  // Ends the filling: the last block is stored. Call before reading.
  void Finish();

  int64_t entries() const { return entries_; }
  // True when some blocks live in the temporary file.
  bool spilled() const { return fd_ >= 0 && fileBytes_ > 0; }

  // Reads the entries in the order they were appended.
  class Reader {
   public:
    explicit Reader(const JournalSpool& spool);
    // The next entry; false at the end or when the temporary file cannot
    // be read (then failed() is true).
    bool Next(JournalEntry* e);
    bool failed() const { return failed_; }

   private:
    bool LoadBlock();

    const JournalSpool& spool_;
    size_t block_ = 0;
    const uint8_t* at_ = nullptr;
    const uint8_t* end_ = nullptr;
    std::vector<uint8_t> buffer_;  // a block read from the file
    bool failed_ = false;
  };

 private:
  struct Block {
    std::vector<uint8_t> bytes;  // empty when the block is in the file
    int64_t fileOffset = -1;
    size_t size = 0;
  };
  void StoreBlock();
  bool WriteToFile(const uint8_t* bytes, size_t size, int64_t* offset);

  size_t memoryBudget_;
  size_t inMemory_ = 0;
  std::vector<Block> blocks_;
  std::vector<uint8_t> current_;  // the block being filled: currentSize_ bytes used
  size_t currentSize_ = 0;
  int64_t entries_ = 0;
  int fd_ = -1;
  bool fileRefused_ = false;
  int64_t fileBytes_ = 0;
};

}  // namespace ltb::ledger
