#include "aggregate/account_list.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace ltb::aggregate {
namespace {

host::StKAMOKUINFO AccountWithCode(int32_t code) {
  host::StKAMOKUINFO a;
  a.SetI32(host::StKAMOKUINFO::kCodeOff, code);
  return a;
}

// Every code of the list is found at its positions and no other code is
// found, however many codes share places of the lookup table (codes 1024
// apart fall together in small tables) and however often a code repeats.
TEST(AccountListTest, FindsEveryCodeAtItsPositions) {
  const std::vector<std::vector<int32_t>> lists = {
      {},
      {7},
      {7, 7, 7},
      {0, -1, INT32_MIN, INT32_MAX, 1},
      {1024, 2048, 3072, 4096, 5120, 1024, 6144, 7168, 8192},
  };
  std::vector<int32_t> many;
  for (int32_t i = 0; i < 300; ++i) many.push_back(i % 7 == 0 ? 40000 : 1000 + 3 * i);
  std::vector<std::vector<int32_t>> all = lists;
  all.push_back(many);
  for (const auto& codes : all) {
    AccountList list;
    list.Add(AccountWithCode(99));  // a list is used again after Clear
    list.Clear();
    for (int32_t code : codes) list.Add(AccountWithCode(code));
    ASSERT_EQ(list.size(), codes.size());
    for (int32_t probe : {0, -1, 1, 7, 99, 1024, 40000, 1003, 1004, INT32_MIN, INT32_MAX}) {
      std::vector<size_t> expected;
      for (size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == probe) expected.push_back(i);
      }
      EXPECT_EQ(list.PositionsOfCode(probe), expected) << probe;
    }
  }
}

TEST(AccountListTest, SideMatchesComeInListOrderDebitFirst) {
  AccountList list;
  for (int32_t code : {5, 3, 5, 3, 9}) list.Add(AccountWithCode(code));
  std::vector<std::pair<size_t, bool>> seen;
  list.ForEachSideMatch(3, 5, [&](size_t position, bool isDebit) {
    seen.emplace_back(position, isDebit);
    return true;
  });
  const std::vector<std::pair<size_t, bool>> expected = {
      {0, false}, {1, true}, {2, false}, {3, true}};
  EXPECT_EQ(seen, expected);
  seen.clear();
  list.ForEachSideMatch(5, 5, [&](size_t position, bool isDebit) {
    seen.emplace_back(position, isDebit);
    return seen.size() < 3;  // stops after the third
  });
  const std::vector<std::pair<size_t, bool>> same = {{0, true}, {0, false}, {2, true}};
  EXPECT_EQ(seen, same);
}

}  // namespace
}  // namespace ltb::aggregate
