#include "ledger/find_condition_eval.h"
#include "host/month_slots.h"

namespace ltb::ledger {

int MonthSlotRank(int32_t slot) {
  // Ten steps per month position leave room for the two closing codes:
  // the interim closing sits after position 6, the year-end closing after 12.
  if (slot == host::kInterimClosingSlot) return 65;
  if (slot == host::kYearEndClosingSlot) return 125;
  return slot * 10;
}

bool CompareValues(int16_t compare, int64_t lhs, int64_t rhs) {
  switch (compare) {
    case host::StFINDINFO::kEqual: return lhs == rhs;
    case host::StFINDINFO::kAtLeast: return lhs >= rhs;
    case host::StFINDINFO::kLessThan: return lhs < rhs;
    case host::StFINDINFO::kAtMost: return lhs <= rhs;
    default: return false;
  }
}

bool CompareMonthSlots(int16_t compare, int32_t slot, int32_t value) {
  if (compare == host::StFINDINFO::kEqual) return slot == value;
  return CompareValues(compare, MonthSlotRank(slot), MonthSlotRank(value));
}

CompiledCondition::CompiledCondition(const host::StFINDINFO* items) {
  if (items == nullptr) {
    matchesAll_ = true;
    return;
  }
  Compile(items, 0);
}

int CompiledCondition::Compile(const host::StFINDINFO* items, int depth) {
  int g = static_cast<int>(groups_.size());
  groups_.emplace_back();
  if (items == nullptr || depth > kMaxGroupDepth) return g;  // never matches

  std::vector<std::vector<int>> runs(1);
  for (const host::StFINDINFO* it = items;; ++it) {
    FindTerm term;
    term.field = it->FieldId();
    if (term.field == host::StFINDINFO::kGroup) {
      term.group = Compile(it->nested, depth + 1);
    } else {
      term.side = it->Side();
      term.compare = it->Compare();
      term.value = it->Value();
    }
    runs.back().push_back(static_cast<int>(terms_.size()));
    terms_.push_back(term);

    int16_t link = it->LinkToNext();
    if (link == host::StFINDINFO::kLast) break;
    // Any link other than OR joins like AND: the stricter reading.
    if (link == host::StFINDINFO::kOr) runs.emplace_back();
  }
  groups_[g].orOfAnds = std::move(runs);
  return g;
}

bool CompiledCondition::UsesField(int32_t field) const {
  for (const FindTerm& t : terms_) {
    if (t.group < 0 && t.field == field) return true;
  }
  return false;
}

}  // namespace ltb::ledger
