#include "aggregate/account_list.h"

namespace ltb::aggregate {

const std::vector<size_t> AccountList::kNone;

void AccountList::Clear() {
  accounts_.clear();
  byCode_.clear();
  byCodeText_.clear();
}

void AccountList::Add(const host::StKAMOKUINFO& account) {
  const size_t position = accounts_.size();
  accounts_.push_back(account);
  byCode_[account.Code()].push_back(position);
  byCodeText_[std::string(account.CodeText())].push_back(position);
}

const std::vector<size_t>& AccountList::PositionsOfCode(int32_t code) const {
  auto it = byCode_.find(code);
  return it == byCode_.end() ? kNone : it->second;
}

const std::vector<size_t>& AccountList::PositionsOfCodeText(std::string_view text) const {
  auto it = byCodeText_.find(std::string(text));
  return it == byCodeText_.end() ? kNone : it->second;
}

}  // namespace ltb::aggregate
