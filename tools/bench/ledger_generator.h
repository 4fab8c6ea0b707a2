// Large ledgers on demand, for timing runs: one corporation under principle
// taxation with a realistic chart of accounts, departments, N journal
// entries spread over one fiscal year and a few thousand fixed assets.
//
// The ledger is the same for the same shape and seed. It holds neither
// 10% entries, nor business type 6, nor provisional import categories, so
// an unattended run passes every pre-aggregation check.
#pragma once

#include <cstdint>
#include <string>

#include "ledger/ledger_writer.h"

namespace ltb::bench {

struct LedgerShape {
  long entries = 100000;
  int departments = 20;
  int fixedAssets = 3000;
  uint64_t seed = 20160401;
};

// The generated dataset: number, data id, fiscal year and the user who has
// it selected.
constexpr int kGeneratedDatasetNo = 1;
constexpr char kGeneratedDataId[] = "BENCH01";
constexpr long kGeneratedPeriodStart = 20160401, kGeneratedPeriodEnd = 20170331;
constexpr char kGeneratedUser[] = "bench";

// One generated journal entry: a ledger row with its month slot worked out.
struct GeneratedEntry {
  long entryNo = 0;
  long date = 0;
  int slot = 0;  // month position 1..12, or 18 for a year-end closing entry
  bool closing = false;
  const char* description = "";  // UTF-8
  ledger::JournalSideRow debit, credit;
};

// Produces the entries of a ledger of `shape` in entry order, dates never
// going backwards. The last entries (one in two thousand, at least one) are
// year-end closing entries on the period's last day.
class EntryGenerator {
 public:
  explicit EntryGenerator(const LedgerShape& shape);
  // False once every entry has been produced.
  bool Next(GeneratedEntry* entry);

 private:
  uint64_t Random();
  int64_t Uniform(int64_t lo, int64_t hi);  // lo..hi inclusive
  void Fill(GeneratedEntry* e);

  LedgerShape shape_;
  uint64_t state_;
  long produced_ = 0;
  long closingFrom_;
};

// The account codes the generator books to (for tests and documentation).
bool IsGeneratedAccount(int code);

// Writes the ledger into `home` (created when absent). The file is written
// beside and renamed into place, so a ledger home either has a complete
// ledger or none. An existing ledger in `home` is replaced.
bool GenerateLedger(const std::string& home, const LedgerShape& shape, std::string* error);

}  // namespace ltb::bench
