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
  const std::vector<size_t>& PositionsOfCode(int32_t code) const;
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
  std::vector<host::StKAMOKUINFO> accounts_;
  std::unordered_map<int32_t, std::vector<size_t>> byCode_;
  std::unordered_map<std::string, std::vector<size_t>> byCodeText_;
  static const std::vector<size_t> kNone;
};

}  // namespace ltb::aggregate
