// Search conditions the engine builds itself: nested groups of StFINDINFO
// items around the run's month-range condition. Each object owns its item
// arrays, which point at one another, so it is neither copied nor moved.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "host/records.h"

namespace ltb::aggregate {

class SearchCondition {
 public:
  SearchCondition() = default;
  SearchCondition(const SearchCondition&) = delete;
  SearchCondition& operator=(const SearchCondition&) = delete;

  // Each builder is called once, on a fresh object.
  // The top-level item array handed to the host.
  const host::StFINDINFO* Items() const { return top_.data(); }

  // Journal entries of the range with at least one side whose tax category
  // is not a taxable purchase (below 21, 24, or 30 and above).
  void NonTaxablePurchase(const host::StFINDINFO* range);
  // Journal entries of the range with an import category whose portions are
  // not yet determined (31 to 33 or 35 to 37) on either side.
  void ImportCategory(const host::StFINDINFO* range);
  // One item per classification code, joined by OR.
  void ClassCodes(std::span<const int32_t> codes);
  // Fixed assets dated from `first` to `last` inclusive.
  void AssetDates(int32_t first, int32_t last);

 private:
  // Storage for nested arrays; reserved up front so pointers stay valid.
  std::vector<host::StFINDINFO>& NewArray();

  std::vector<host::StFINDINFO> top_;
  std::array<std::vector<host::StFINDINFO>, 8> nested_;
  size_t nestedUsed_ = 0;
};

}  // namespace ltb::aggregate
