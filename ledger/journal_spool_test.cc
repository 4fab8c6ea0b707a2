#include "ledger/journal_spool.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <limits>
#include <vector>

#include "ledger/journal_fold.h"

namespace ltb::ledger {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

bool Same(const JournalEntry& a, const JournalEntry& b) {
  if (a.slot != b.slot) return false;
  for (int s = 0; s < 2; ++s) {
    const JournalSide &x = a.side[s], &y = b.side[s];
    if (x.amount != y.amount || x.tax != y.tax || x.account != y.account ||
        x.department != y.department || x.rate != y.rate || x.category != y.category ||
        x.businessType != y.businessType) {
      return false;
    }
  }
  return true;
}

// Entries that exercise every shortcut of the encoding and its limits: a
// sale and its counter side (either way round), equal and different
// departments, plain sides, zero and non-zero tax, extreme amounts (whose
// "amount plus tax" leaves the range), negative codes.
std::vector<JournalEntry> Samples() {
  auto side = [](int32_t account, int32_t dept, int64_t amount, int64_t tax, uint8_t category,
                 int32_t rate, uint8_t type) {
    JournalSide s;
    s.account = account;
    s.department = dept;
    s.amount = amount;
    s.tax = tax;
    s.category = category;
    s.rate = rate;
    s.businessType = type;
    return s;
  };
  auto entry = [](int16_t slot, JournalSide d, JournalSide c) {
    JournalEntry e;
    e.slot = slot;
    e.side[0] = d;
    e.side[1] = c;
    return e;
  };
  return {
      entry(1, side(135, 3, 10800000, 0, 0, 0, 0), side(411, 3, 10000000, 800000, 1, 800, 2)),
      entry(18, side(511, 1, 5000, 400, 21, 800, 0), side(211, 1, 5400, 0, 0, 0, 0)),
      entry(15, side(511, 1, 5000, 400, 21, 800, 0), side(211, 2, 5401, 0, 0, 0, 0)),
      entry(12, side(0, 0, 0, 0, 0, 0, 0), side(0, 0, 0, 0, 0, 0, 0)),
      entry(7, side(-1, -7, kMin, kMax, 255, -1000, 6),
            side(2147483647, -2147483647 - 1, kMax, kMax, 48, 2147483647, 255)),
      entry(-3, side(1, 0, kMax, 1, 9, 300, 0), side(2, 0, kMin, -1, 10, 500, 0)),
      entry(3, side(135, 5, -1, 0, 0, 0, 0), side(411, 5, -1, 0, 2, 1000, 1)),
  };
}

// Whatever the entries, a spool gives them back unchanged and in order,
// from memory or from its temporary file, also to two readers at once.
TEST(JournalSpool, GivesBackEveryEntryInOrderFromMemoryAndFromItsFile) {
  const std::vector<JournalEntry> samples = Samples();
  for (size_t budget : {JournalSpool::kDefaultMemoryBudget, size_t{0}}) {
    SCOPED_TRACE("memory budget " + std::to_string(budget));
    JournalSpool spool(budget);
    // Enough entries for several blocks.
    const size_t count = 3 * JournalSpool::kBlockBytes / 20;
    for (size_t i = 0; i < count; ++i) {
      JournalEntry e = samples[i % samples.size()];
      e.side[1].amount ^= static_cast<int64_t>(i % 3 == 0 ? 0 : i & 0xFFFF);
      spool.Append(e);
    }
    spool.Finish();
    EXPECT_EQ(spool.entries(), static_cast<int64_t>(count));
    EXPECT_EQ(spool.spilled(), budget == 0);

    JournalSpool::Reader first(spool), second(spool);
    JournalEntry a, b;
    for (size_t i = 0; i < count; ++i) {
      JournalEntry want = samples[i % samples.size()];
      want.side[1].amount ^= static_cast<int64_t>(i % 3 == 0 ? 0 : i & 0xFFFF);
      ASSERT_TRUE(first.Next(&a)) << i;
      ASSERT_TRUE(Same(a, want)) << "entry " << i;
      ASSERT_TRUE(second.Next(&b));
      ASSERT_TRUE(Same(a, b));
    }
    EXPECT_FALSE(first.Next(&a));
    EXPECT_FALSE(first.failed());
  }
}

// A temporary file that cannot take more (a full disk, here a file-size
// limit) loses nothing: the blocks it refuses stay in memory.
TEST(JournalSpool, BlocksTheFileRefusesStayInMemory) {
  rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit limited = old;
  limited.rlim_cur = JournalSpool::kBlockBytes + JournalSpool::kBlockBytes / 2;
  void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);

  const std::vector<JournalEntry> samples = Samples();
  const size_t count = 4 * JournalSpool::kBlockBytes / 20;
  JournalSpool spool(0);
  for (size_t i = 0; i < count; ++i) spool.Append(samples[i % samples.size()]);
  spool.Finish();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_TRUE(spool.spilled());  // the first block went to the file
  JournalSpool::Reader reader(spool);
  JournalEntry e;
  for (size_t i = 0; i < count; ++i) {
    ASSERT_TRUE(reader.Next(&e)) << i;
    ASSERT_TRUE(Same(e, samples[i % samples.size()])) << "entry " << i;
  }
  EXPECT_FALSE(reader.Next(&e));
  EXPECT_FALSE(reader.failed());
}

// The fold keeps exact sums past the 64-bit range, merges two folds key by
// key, and is given up (not silently cut short) when it would hold more
// keys than allowed, also through a merge.
TEST(JournalFold, SumsExactlyMergesAndIsGivenUpWhenItHasTooManyKeys) {
  const JournalEntry extreme = Samples()[4];
  auto at = [&](int16_t slot) {
    JournalEntry e = extreme;
    e.slot = slot;
    return e;
  };
  JournalFold fold(4);
  fold.Add(at(7));
  fold.Add(at(7));
  fold.Finish();
  ASSERT_TRUE(fold.complete());
  ASSERT_EQ(fold.entries().size(), 1u);
  const FoldedEntry& f = fold.entries()[0];
  EXPECT_EQ(f.count(), 2);
  const JournalEntry key = f.Key();
  EXPECT_EQ(key.slot, 7);
  EXPECT_EQ(key.side[1].account, extreme.side[1].account);
  EXPECT_EQ(key.side[0].department, extreme.side[0].department);
  EXPECT_EQ(key.side[0].rate, extreme.side[0].rate);
  EXPECT_EQ(key.side[0].category, extreme.side[0].category);
  EXPECT_EQ(key.side[1].businessType, 255);
  EXPECT_EQ(key.side[0].amount, 0);
  const FoldedSums sums = fold.SumsOf(f);
  EXPECT_TRUE(sums.amount[0] == WideSum(kMin) * 2);
  EXPECT_TRUE(sums.tax[1] == WideSum(kMax) * 2);
  EXPECT_TRUE(sums.magnitude[0] == (Magnitude(kMin) + Magnitude(kMax)) * 2);
  EXPECT_FALSE(FitsEveryPartialSum(Magnitude(kMax), 1));
  EXPECT_TRUE(FitsEveryPartialSum(Magnitude(kMax - 1), -1));

  JournalFold a(3), b(3);
  for (int16_t slot : {1, 2}) a.Add(at(slot));
  for (int16_t slot : {2, 3}) b.Add(at(slot));
  a.Merge(b);
  a.Finish();
  ASSERT_TRUE(a.complete());
  ASSERT_EQ(a.entries().size(), 3u);
  for (const FoldedEntry& e : a.entries()) {
    EXPECT_EQ(e.count(), e.Key().slot == 2 ? 2 : 1) << e.Key().slot;
    EXPECT_TRUE(a.SumsOf(e).amount[1] == WideSum(kMax) * e.count());
  }

  JournalFold small(2), other(2);
  small.Add(at(1));
  for (int16_t slot : {2, 3}) other.Add(at(slot));
  small.Merge(other);
  EXPECT_FALSE(small.complete());
  for (int16_t slot : {4, 5, 6}) other.Add(at(slot));
  other.Finish();
  EXPECT_FALSE(other.complete());
  EXPECT_TRUE(other.entries().empty());
}

}  // namespace
}  // namespace ltb::ledger
