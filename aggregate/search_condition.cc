#include "aggregate/search_condition.h"

#include <cassert>

namespace ltb::aggregate {

using host::MakeFindGroup;
using host::MakeFindItem;
using host::StFINDINFO;

std::vector<StFINDINFO>& SearchCondition::NewArray() {
  assert(nestedUsed_ < nested_.size());
  return nested_[nestedUsed_++];
}

void SearchCondition::NonTaxablePurchase(const StFINDINFO* range) {
  auto& debit = NewArray();
  auto& credit = NewArray();
  for (auto [side, items] :
       {std::pair<int16_t, std::vector<StFINDINFO>*>{1, &debit}, {2, &credit}}) {
    items->push_back(MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kLessThan,
                                  StFINDINFO::kCategoryOrDate, 21, StFINDINFO::kOr, side));
    items->push_back(MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kEqual,
                                  StFINDINFO::kCategoryOrDate, 24, StFINDINFO::kOr, side));
    items->push_back(MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kAtLeast,
                                  StFINDINFO::kCategoryOrDate, 30, StFINDINFO::kLast, side));
  }
  auto& sides = NewArray();
  sides.push_back(MakeFindGroup(debit.data(), StFINDINFO::kOr));
  sides.push_back(MakeFindGroup(credit.data(), StFINDINFO::kLast));
  top_ = {MakeFindGroup(sides.data(), StFINDINFO::kAnd), MakeFindGroup(range, StFINDINFO::kLast)};
}

void SearchCondition::ImportCategory(const StFINDINFO* range) {
  auto& sides = NewArray();
  for (int16_t side : {1, 2}) {
    auto& low = NewArray();
    auto& high = NewArray();
    low = {MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kAtLeast, StFINDINFO::kCategoryOrDate,
                        31, StFINDINFO::kAnd, side),
           MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kAtMost, StFINDINFO::kCategoryOrDate,
                        33, StFINDINFO::kLast, side)};
    high = {MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kAtLeast,
                         StFINDINFO::kCategoryOrDate, 35, StFINDINFO::kAnd, side),
            MakeFindItem(StFINDINFO::kTaxCategory, StFINDINFO::kAtMost, StFINDINFO::kCategoryOrDate,
                         37, StFINDINFO::kLast, side)};
    auto& group = NewArray();
    group = {MakeFindGroup(low.data(), StFINDINFO::kOr),
             MakeFindGroup(high.data(), StFINDINFO::kLast)};
    sides.push_back(MakeFindGroup(group.data(), side == 1 ? StFINDINFO::kOr : StFINDINFO::kLast));
  }
  top_ = {MakeFindGroup(sides.data(), StFINDINFO::kAnd), MakeFindGroup(range, StFINDINFO::kLast)};
}

void SearchCondition::ClassCodes(std::span<const int32_t> codes) {
  top_.clear();
  for (size_t i = 0; i < codes.size(); ++i) {
    top_.push_back(MakeFindItem(StFINDINFO::kClassCode, StFINDINFO::kEqual, StFINDINFO::kClassCodes,
                                codes[i],
                                i + 1 < codes.size() ? StFINDINFO::kOr : StFINDINFO::kLast));
  }
  // An empty list still hands the host a well-formed, single-item array
  // that matches no classification code.
  if (top_.empty()) {
    top_.push_back(MakeFindItem(StFINDINFO::kClassCode, StFINDINFO::kEqual, StFINDINFO::kClassCodes,
                                0, StFINDINFO::kLast));
  }
}

void SearchCondition::AssetDates(int32_t first, int32_t last) {
  top_ = {MakeFindItem(StFINDINFO::kAssetDate, StFINDINFO::kAtLeast, StFINDINFO::kCategoryOrDate,
                       first, StFINDINFO::kAnd),
          MakeFindItem(StFINDINFO::kAssetDate, StFINDINFO::kAtMost, StFINDINFO::kCategoryOrDate,
                       last, StFINDINFO::kLast)};
}

}  // namespace ltb::aggregate
