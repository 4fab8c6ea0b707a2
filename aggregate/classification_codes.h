// Account classification codes that the refund-statement lines are built
// from, and the journal tax-category test.
#pragma once

#include <cstdint>
#include <span>

namespace ltb::aggregate {

// The account lists the engine builds (BuildAccountList filters).
enum class AccountFilter : int {
  kOldRate = 1,     // accounts whose tax summaries make the 3% old-rate sum
  kCorporate = 2,   // purchase and expense accounts of a corporation
  kIndividual = 3,  // purchase and expense accounts of an individual
};

// Classification codes of a filter, in search-item order; empty for an
// unknown filter number.
std::span<const int32_t> FilterCodes(int filter);

bool IsPurchaseCode(int32_t code);
bool IsSellingExpenseCode(int32_t code);
bool IsOtherLossCode(int32_t code);
// The non-operating group differs between a corporation and an individual.
bool IsCorporateNonOperatingCode(int32_t code);
bool IsIndividualNonOperatingCode(int32_t code);
// Selling-expense, individual non-operating and other-loss codes.
bool IsIndividualExpenseCode(int32_t code);

// A journal side's tax category that is not a taxable purchase: below 21,
// exactly 24, or 30 and above.
constexpr bool IsNotTaxablePurchase(uint8_t category) {
  return category < 21 || category == 24 || category >= 30;
}

}  // namespace ltb::aggregate
