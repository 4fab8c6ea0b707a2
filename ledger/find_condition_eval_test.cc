#include "ledger/find_condition_eval.h"

#include <gtest/gtest.h>

#include "ledger/rule_common.h"

namespace ltb::ledger {
namespace {

using host::MakeFindGroup;
using host::MakeFindItem;
using host::StFINDINFO;

constexpr int16_t kAnd = StFINDINFO::kAnd, kOr = StFINDINFO::kOr, kLast = StFINDINFO::kLast;

JournalEntry EntryAt(int16_t slot, uint8_t debitCategory = 0, uint8_t creditCategory = 0) {
  JournalEntry e;
  e.slot = slot;
  e.side[0].category = debitCategory;
  e.side[1].category = creditCategory;
  return e;
}

bool Match(const StFINDINFO* cond, const JournalEntry& e) {
  return CompiledCondition(cond).Matches(JournalEntryView{e});
}

StFINDINFO Month(int16_t cmp, int32_t v, int16_t link) {
  return MakeFindItem(StFINDINFO::kMonth, cmp, StFINDINFO::kMonthPosition, v, link);
}
StFINDINFO Category(int16_t side, int16_t cmp, int32_t v, int16_t link) {
  return MakeFindItem(StFINDINFO::kTaxCategory, cmp, StFINDINFO::kCategoryOrDate, v, link, side);
}

TEST(FindConditionEval, MonthRangeOrdersClosingCodesInsideThePeriod) {
  // at least 1 AND at most 12: takes in the interim closing, not year end.
  StFINDINFO fullYear[] = {Month(StFINDINFO::kAtLeast, 1, kAnd),
                           Month(StFINDINFO::kAtMost, 12, kLast)};
  EXPECT_TRUE(Match(fullYear, EntryAt(15)));
  EXPECT_FALSE(Match(fullYear, EntryAt(18)));
  EXPECT_TRUE(Match(fullYear, EntryAt(12)));

  // Positions 1..6 OR interim closing; 7 and year end stay out.
  StFINDINFO half[] = {Month(StFINDINFO::kAtLeast, 1, kAnd), Month(StFINDINFO::kAtMost, 6, kOr),
                       Month(StFINDINFO::kEqual, 15, kLast)};
  EXPECT_TRUE(Match(half, EntryAt(6)));
  EXPECT_TRUE(Match(half, EntryAt(15)));
  EXPECT_FALSE(Match(half, EntryAt(7)));
  EXPECT_FALSE(Match(half, EntryAt(18)));

  // Positions 7..12 exclude the interim closing; "less than 7" includes it.
  StFINDINFO second[] = {Month(StFINDINFO::kAtLeast, 7, kAnd),
                         Month(StFINDINFO::kAtMost, 18, kLast)};
  EXPECT_FALSE(Match(second, EntryAt(15)));
  EXPECT_TRUE(Match(second, EntryAt(18)));
  StFINDINFO below7[] = {Month(StFINDINFO::kLessThan, 7, kLast)};
  EXPECT_TRUE(Match(below7, EntryAt(15)));
  EXPECT_FALSE(Match(below7, EntryAt(18)));
}

// Each closing code against the comparisons on both sides of the position
// it follows: 15 lies between positions 6 and 7, 18 after 12.
TEST(FindConditionEval, ClosingCodesComparedOnBothSidesOfTheirPosition) {
  const struct {
    int16_t compare;
    int32_t value, slot;
    bool expected;
  } cases[] = {
      {StFINDINFO::kAtLeast, 6, 15, true},    {StFINDINFO::kAtLeast, 7, 15, false},
      {StFINDINFO::kAtMost, 6, 15, false},    {StFINDINFO::kAtMost, 7, 15, true},
      {StFINDINFO::kAtMost, 5, 15, false},    {StFINDINFO::kLessThan, 6, 15, false},
      {StFINDINFO::kLessThan, 7, 15, true},   {StFINDINFO::kAtLeast, 5, 15, true},
      {StFINDINFO::kAtLeast, 15, 6, false},   {StFINDINFO::kAtLeast, 15, 7, true},
      {StFINDINFO::kAtMost, 15, 6, true},     {StFINDINFO::kLessThan, 15, 7, false},
      {StFINDINFO::kAtLeast, 12, 18, true},   {StFINDINFO::kAtMost, 12, 18, false},
      {StFINDINFO::kLessThan, 12, 18, false}, {StFINDINFO::kAtLeast, 18, 12, false},
      {StFINDINFO::kAtMost, 18, 12, true},    {StFINDINFO::kAtLeast, 15, 18, true},
      {StFINDINFO::kAtMost, 15, 18, false},   {StFINDINFO::kEqual, 15, 15, true},
      {StFINDINFO::kEqual, 18, 12, false},
  };
  for (const auto& c : cases) {
    StFINDINFO item[] = {Month(c.compare, c.value, kLast)};
    EXPECT_EQ(Match(item, EntryAt(static_cast<int16_t>(c.slot))), c.expected)
        << "compare " << c.compare << " value " << c.value << " slot " << c.slot;
  }
}

TEST(FindConditionEval, AndBindsTighterThanOr) {
  // month = 3 OR month = 4 AND debit category = 1  ==  3 OR (4 AND cat 1)
  StFINDINFO cond[] = {Month(StFINDINFO::kEqual, 3, kOr), Month(StFINDINFO::kEqual, 4, kAnd),
                       Category(1, StFINDINFO::kEqual, 1, kLast)};
  EXPECT_TRUE(Match(cond, EntryAt(3, 0)));
  EXPECT_FALSE(Match(cond, EntryAt(4, 0)));
  EXPECT_TRUE(Match(cond, EntryAt(4, 1)));
}

TEST(FindConditionEval, NestedGroupsAndSides) {
  // (debit < 21 OR debit = 24 OR debit >= 30) OR (the same on the credit
  // side), AND months 1..12: the refund-statement journal question.
  StFINDINFO debit[] = {Category(1, StFINDINFO::kLessThan, 21, kOr),
                        Category(1, StFINDINFO::kEqual, 24, kOr),
                        Category(1, StFINDINFO::kAtLeast, 30, kLast)};
  StFINDINFO credit[] = {Category(2, StFINDINFO::kLessThan, 21, kOr),
                         Category(2, StFINDINFO::kEqual, 24, kOr),
                         Category(2, StFINDINFO::kAtLeast, 30, kLast)};
  StFINDINFO sides[] = {MakeFindGroup(debit, kOr), MakeFindGroup(credit, kLast)};
  StFINDINFO range[] = {Month(StFINDINFO::kAtLeast, 1, kAnd),
                        Month(StFINDINFO::kAtMost, 12, kLast)};
  StFINDINFO top[] = {MakeFindGroup(sides, kAnd), MakeFindGroup(range, kLast)};

  EXPECT_FALSE(Match(top, EntryAt(5, 21, 22)));  // both sides taxable purchases
  EXPECT_TRUE(Match(top, EntryAt(5, 21, 24)));   // credit side 24
  EXPECT_TRUE(Match(top, EntryAt(5, 33, 25)));   // debit side import
  EXPECT_FALSE(Match(top, EntryAt(18, 0, 0)));   // out of range
  EXPECT_TRUE(Match(top, EntryAt(15, 29, 30)));
}

TEST(FindConditionEval, DegenerateConditions) {
  EXPECT_TRUE(Match(nullptr, EntryAt(18)));  // no condition: everything
  // A field the record does not have and an unknown comparison never hold.
  StFINDINFO assetDate[] = {
      MakeFindItem(StFINDINFO::kAssetDate, StFINDINFO::kAtLeast, 3, 0, kLast)};
  EXPECT_FALSE(Match(assetDate, EntryAt(1)));
  StFINDINFO badCompare[] = {Month(9, 1, kLast)};
  EXPECT_FALSE(Match(badCompare, EntryAt(1)));
  // A group without items and a group that points at itself end in "no".
  StFINDINFO emptyGroup[] = {MakeFindGroup(nullptr, kLast)};
  EXPECT_FALSE(Match(emptyGroup, EntryAt(1)));
  StFINDINFO self[1];
  self[0] = MakeFindGroup(self, kLast);
  EXPECT_FALSE(Match(self, EntryAt(1)));
  // Side 0 on a category item: either side.
  StFINDINFO eitherSide[] = {Category(0, StFINDINFO::kEqual, 7, kLast)};
  EXPECT_TRUE(Match(eitherSide, EntryAt(1, 0, 7)));
  EXPECT_TRUE(Match(eitherSide, EntryAt(1, 7, 0)));
}

}  // namespace
}  // namespace ltb::ledger
