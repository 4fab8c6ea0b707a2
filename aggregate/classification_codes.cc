#include "aggregate/classification_codes.h"

#include <algorithm>
#include <array>

namespace ltb::aggregate {
namespace {

constexpr std::array<int32_t, 2> kOldRateCodes = {0x40888000, 0x40848000};

constexpr std::array<int32_t, 17> kCorporateCodes = {
    0x40884400, 0x20804000, 0x20400000, 0x20200000, 0x40882000, 0x40844000,
    0x40440000, 0x40440040, 0x40440080, 0x40882040, 0x40882020, 0x40882010,
    0x40882008, 0x40882004, 0x20200040, 0x20400008, 0x20400004};

constexpr std::array<int32_t, 18> kIndividualCodes = {
    0x40884400, 0x20804000, 0x20400000, 0x20200000, 0x40882000, 0x40882040,
    0x40882020, 0x40882010, 0x40882008, 0x40882004, 0x40844000, 0x40844080,
    0x40440000, 0x40440080, 0x40440040, 0x20200040, 0x20400008, 0x20400004};

constexpr std::array<int32_t, 7> kPurchaseCodes = {0x40884400, 0x20804000, 0x20400000, 0x20400008,
                                                   0x20400004, 0x20200000, 0x20200040};
constexpr std::array<int32_t, 6> kSellingExpenseCodes = {0x40882000, 0x40882040, 0x40882020,
                                                         0x40882010, 0x40882008, 0x40882004};
constexpr std::array<int32_t, 1> kCorporateNonOperatingCodes = {0x40844000};
constexpr std::array<int32_t, 2> kIndividualNonOperatingCodes = {0x40844000, 0x40844080};
constexpr std::array<int32_t, 3> kOtherLossCodes = {0x40440000, 0x40440040, 0x40440080};

template <size_t N>
bool Contains(const std::array<int32_t, N>& codes, int32_t code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace

std::span<const int32_t> FilterCodes(int filter) {
  switch (static_cast<AccountFilter>(filter)) {
    case AccountFilter::kOldRate: return kOldRateCodes;
    case AccountFilter::kCorporate: return kCorporateCodes;
    case AccountFilter::kIndividual: return kIndividualCodes;
  }
  return {};
}

bool IsPurchaseCode(int32_t code) { return Contains(kPurchaseCodes, code); }
bool IsSellingExpenseCode(int32_t code) { return Contains(kSellingExpenseCodes, code); }
bool IsOtherLossCode(int32_t code) { return Contains(kOtherLossCodes, code); }
bool IsCorporateNonOperatingCode(int32_t code) {
  return Contains(kCorporateNonOperatingCodes, code);
}
bool IsIndividualNonOperatingCode(int32_t code) {
  return Contains(kIndividualNonOperatingCodes, code);
}
bool IsIndividualExpenseCode(int32_t code) {
  return IsSellingExpenseCode(code) || IsIndividualNonOperatingCode(code) || IsOtherLossCode(code);
}

}  // namespace ltb::aggregate
