// The ledger's table of tax categories: which fields of the tax-return
// records a journal side of each category feeds.
//
// A journal side carries a tax category (0..255), a tax-excluded amount and
// a tax amount. A category names its natural side (sales are booked on the
// credit side, purchases on the debit side, returns the other way round):
// a side of that category on its natural side adds to the fields, on the
// other side it subtracts. A field that holds a "tax included" figure takes
// amount plus tax; "tax excluded" takes the amount; "tax amount" the tax.
// The table is data (kTaxCategories in tax_categories.cc) and is documented
// for users in ledger/WALKERS.md.
#pragma once

#include <cstdint>
#include <span>

#include "host/records.h"

namespace ltb::ledger {

enum class BookSide : uint8_t { kDebit = 1, kCredit = 2 };

// The rate code of the reduced 8 % introduced in October 2019, in the
// journal's rate column (hundredths of a percent otherwise: 300, 500, 800,
// 1000). It is kept apart from the old 8 % (800): no rate block of the
// return takes it, and the rate check reports it with the 10 % entries, since
// the return's layout has no place for the rates of October 2019.
inline constexpr int kRateReduced8 = 801;
inline constexpr int kRateStandard10 = 1000;

// Field offsets inside StTAXREPORTRATEINFO / StTAXREPORTBUSINESSTYPEINFO;
// 0 means "no such field" (offset 0 is the rate code, never an amount).
struct CategoryFields {
  size_t excluded = 0;
  size_t tax = 0;
  size_t included = 0;
};

struct TaxCategory {
  uint8_t code = 0;
  BookSide natural = BookSide::kCredit;
  CategoryFields rate;          // fields of the per-rate record
  CategoryFields businessType;  // fields of the per-business-type record
  bool provisional = false;     // import amounts not yet determined: never summed
  const char* name = "";        // short description (CP932)
};

// Every category the ledger gives a meaning to, in code order.
std::span<const TaxCategory> TaxCategoryTable();

// The row of `code`; null for a code without fields (out of scope and
// unassigned codes).
const TaxCategory* FindTaxCategory(uint8_t code);

// The program's own test: not a taxable purchase when below 21, equal to 24
// or 30 and above.
bool IsNotTaxablePurchase(uint8_t code);

// Provisional import categories 31-33 and 35-37.
bool IsProvisionalImport(uint8_t code);

// Sign of a side of category `c` booked on `side`: +1 natural, -1 other.
inline int SideSign(const TaxCategory& c, BookSide side) { return c.natural == side ? 1 : -1; }

}  // namespace ltb::ledger
