#include "aggregate/account_list.h"

#include <algorithm>

namespace ltb::aggregate {

const std::vector<size_t> AccountList::kNone;

void AccountList::Clear() {
  accounts_.clear();
  byCode_.clear();
  codeSlots_.clear();
  byCodeText_.clear();
}

void AccountList::Add(const host::StKAMOKUINFO& account) {
  const size_t position = accounts_.size();
  accounts_.push_back(account);
  if (2 * (byCode_.size() + 1) > codeSlots_.size()) {
    // Twice the places, every code placed again.
    std::vector<CodeSlot> old = std::move(codeSlots_);
    codeSlots_.assign(std::max<size_t>(16, 2 * old.size()), CodeSlot{});
    for (const CodeSlot& s : old) {
      if (s.list != 0) codeSlots_[PlaceOf(s.code)] = s;
    }
  }
  CodeSlot& slot = codeSlots_[PlaceOf(account.Code())];
  if (slot.list == 0) {
    byCode_.emplace_back();
    slot = CodeSlot{account.Code(), static_cast<uint32_t>(byCode_.size())};
  }
  byCode_[slot.list - 1].push_back(position);
  byCodeText_[std::string(account.CodeText())].push_back(position);
}

const std::vector<size_t>& AccountList::PositionsOfCodeText(std::string_view text) const {
  auto it = byCodeText_.find(std::string(text));
  return it == byCodeText_.end() ? kNone : it->second;
}

}  // namespace ltb::aggregate
