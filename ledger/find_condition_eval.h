// Evaluation of host search conditions (arrays of StFINDINFO items).
//
// A condition is compiled once into a tree and then tested against many
// records. The rules:
// - an item array ends at the first item whose link is 0 (that item is
//   still part of it);
// - AND binds tighter than OR: "a AND b OR c" is "(a AND b) OR c";
// - an item with field id 999 is a nested group whose items are evaluated
//   the same way, recursively;
// - comparisons are 1 equal, 4 at least, 5 less than, 6 at most; any other
//   comparison code makes the item false;
// - month slots (field 17) are compared in their order inside the period:
//   1..6, 15 (interim closing), 7..12, 18 (year-end closing), so "at least 1
//   AND at most 12" takes in 15 but not 18.
// A null condition matches every record. Groups nested deeper than
// kMaxGroupDepth (which includes a group that points at itself) and a
// group without items never match.
#pragma once

#include <cstdint>
#include <vector>

#include "host/records.h"

namespace ltb::ledger {

// Rank of a month slot inside the period, for ordered comparisons.
int MonthSlotRank(int32_t slot);

// One comparison of a compiled condition.
struct FindTerm {
  int32_t field = 0;
  int16_t side = 0;  // field 3: 1 debit, 2 credit, other: either side
  int16_t compare = 0;
  int32_t value = 0;
  int group = -1;  // index into CompiledCondition groups, or -1
};

// A record adapter tells whether a term holds for a record. It is called
// with terms of fields it may not know; those should be false.
class CompiledCondition {
 public:
  static constexpr int kMaxGroupDepth = 16;

  // Compiles the item array starting at `items` (null: match everything).
  explicit CompiledCondition(const host::StFINDINFO* items);

  bool MatchesAll() const { return matchesAll_; }

  // True when `record` satisfies the condition. Adapter must provide
  // `bool Test(const FindTerm&) const` for comparison terms.
  template <typename Adapter>
  bool Matches(const Adapter& record) const {
    return matchesAll_ || EvalGroup(0, record);
  }

  // True when any term anywhere in the condition tests `field`.
  bool UsesField(int32_t field) const;

 private:
  // A group is an OR of AND-runs; each run is a list of term indices.
  struct Group {
    std::vector<std::vector<int>> orOfAnds;
  };

  int Compile(const host::StFINDINFO* items, int depth);

  template <typename Adapter>
  bool EvalGroup(int g, const Adapter& record) const {
    for (const auto& run : groups_[g].orOfAnds) {
      bool all = true;
      for (int t : run) {
        const FindTerm& term = terms_[t];
        bool ok = term.group >= 0 ? EvalGroup(term.group, record) : record.Test(term);
        if (!ok) {
          all = false;
          break;
        }
      }
      if (all) return true;
    }
    return false;
  }

  bool matchesAll_ = false;
  std::vector<FindTerm> terms_;
  std::vector<Group> groups_;
};

// Applies comparison `compare` to lhs and rhs (plain integers).
bool CompareValues(int16_t compare, int64_t lhs, int64_t rhs);
// The same for month slots, in their order inside the period; equality
// compares the codes themselves.
bool CompareMonthSlots(int16_t compare, int32_t slot, int32_t value);

}  // namespace ltb::ledger
