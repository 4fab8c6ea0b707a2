// The accounts selected by the last BuildAccountList, in host order, with
// lookups from an account code (number or text) to its list positions so
// that matching a journal entry or a tax-summary line against the list does
// not cost a pass over the whole list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/records.h"

namespace ltb::aggregate {

class AccountList {
 public:
  void Clear();
  void Add(const host::StKAMOKUINFO& account);

  size_t size() const { return accounts_.size(); }
  bool empty() const { return accounts_.empty(); }
  const host::StKAMOKUINFO& operator[](size_t i) const { return accounts_[i]; }

  // Positions (ascending) of the accounts with this code; empty if none.
  // Asked twice for every journal entry of a walk, so it is one look into
  // a small table.
  const std::vector<size_t>& PositionsOfCode(int32_t code) const {
    if (codeSlots_.empty()) return kNone;
    const CodeSlot& slot = codeSlots_[PlaceOf(code)];
    return slot.list == 0 ? kNone : byCode_[slot.list - 1];
  }
  const std::vector<size_t>& PositionsOfCodeText(std::string_view text) const;

  // Calls visit(position, isDebit) for every listed account whose code is
  // the debit or the credit code of a journal entry, in list order; an
  // account on both sides is visited for the debit first. Stops when visit
  // returns false.
  template <typename Visit>
  void ForEachSideMatch(int32_t debitCode, int32_t creditCode, Visit visit) const {
    const std::vector<size_t>& d = PositionsOfCode(debitCode);
    const std::vector<size_t>& c = PositionsOfCode(creditCode);
    size_t i = 0, j = 0;
    while (i < d.size() || j < c.size()) {
      const bool debitNext = j == c.size() || (i < d.size() && d[i] <= c[j]);
      if (!(debitNext ? visit(d[i++], true) : visit(c[j++], false))) return;
    }
  }

 private:
  // A place of the code table: a code and its list in byCode_ plus 1 (0: a
  // free place). Open addressing, at most half full.
  struct CodeSlot {
    int32_t code = 0;
    uint32_t list = 0;
  };
  // Where `code` is in codeSlots_ (not empty), or the free place it would take.
  size_t PlaceOf(int32_t code) const {
    const size_t mask = codeSlots_.size() - 1;
    size_t i = (static_cast<uint32_t>(code) * 0x9E3779B1u >> 8) & mask;
    while (codeSlots_[i].list != 0 && codeSlots_[i].code != code) i = (i + 1) & mask;
    return i;
  }

  std::vector<host::StKAMOKUINFO> accounts_;
  std::vector<std::vector<size_t>> byCode_;  // the positions of each distinct code
  std::vector<CodeSlot> codeSlots_;
  std::unordered_map<std::string, std::vector<size_t>> byCodeText_;
  static const std::vector<size_t> kNone;
};

}  // namespace ltb::aggregate
