#include "ledger/tax_categories.h"

#include <gtest/gtest.h>

#include <set>

namespace ltb::ledger {
namespace {

using R = host::StTAXREPORTRATEINFO;
using B = host::StTAXREPORTBUSINESSTYPEINFO;

TEST(TaxCategories, EveryAmountFieldOfBothRecordsIsFedBySomeCategory) {
  // clang-format off
  const std::set<size_t> rateFields = {
      R::KAZEIURIAGEZEINUKI, R::KAZEIURIAGEZEIGAKU, R::KAZEIURIAGEZEIKOMI,
      R::HIKAZEIURIAGEYUUKAZEINUKI, R::MENZEIURIAGEZEINUKI, R::HIKAZEIURIAGEYUUKAIGAIZEINUKI,
      R::HIKAZEISHISANYUSHUTSUZEINUKI, R::KAZEIURIAGEHENKANZEINUKI, R::KAZEIURIAGEHENKANZEIGAKU,
      R::KAZEIURIAGEHENKANZEIKOMI, R::HIKAZEIURIAGEHENKANZEINUKI, R::MENZEIURIAGEHENKANZEINUKI,
      R::SHIIREKAZEIZEINUKI, R::SHIIREKAZEIZEIGAKU, R::SHIIREKAZEIZEIKOMI,
      R::SHIIREHIKAZEIZEINUKI, R::SHIIREHIKAZEIZEIGAKU, R::SHIIREHIKAZEIZEIKOMI,
      R::SHIIREKYOTUUZEINUKI, R::SHIIREKYOTUUZEIGAKU, R::SHIIREKYOTUUZEIKOMI,
      R::YUNYUSHIIREKAZEIZEIGAKU, R::YUNYUSHIIREHIKAZEIZEIGAKU, R::YUNYUSHIIREKYOTUUZEIGAKU,
      R::SHIIREHENKANKAZEIZEINUKI, R::SHIIREHENKANKAZEIZEIGAKU, R::SHIIREHENKANKAZEIZEIKOMI,
      R::SHIIREHENKANHIKAZEIZEINUKI, R::SHIIREHENKANHIKAZEIZEIGAKU,
      R::SHIIREHENKANHIKAZEIZEIKOMI, R::SHIIREHENKANKYOTUUZEINUKI,
      R::SHIIREHENKANKYOTUUZEIGAKU, R::SHIIREHENKANKYOTUUZEIKOMI,
      R::YUNYUHENKANKAZEIZEIGAKU, R::YUNYUHENKANHIKAZEIZEIGAKU, R::YUNYUHENKANKYOTUUZEIGAKU,
      R::KASHIDAOREZEINUKI, R::KASHIDAOREZEIGAKU, R::KASHIDAOREZEIKOMI,
      R::KASHIDAOREKAISHUZEINUKI, R::KASHIDAOREKAISHUZEIGAKU, R::KASHIDAOREKAISHUZEIKOMI,
      R::YUNYUSHIIRETIHO, R::YUNYUHENKANTIHO};
  const std::set<size_t> businessFields = {
      B::KAZEIURIAGESHUZEIKOMI, B::KAZEIURIAGESHUZEIGAKU, B::KAZEIURIAGESHUZEINUKI,
      B::KAZEIHENKANSHUZEIKOMI, B::KAZEIHENKANSHUZEIGAKU, B::KAZEIHENKANSHUZEINUKI};
  // clang-format on

  std::set<size_t> fedRate, fedBusiness;
  for (const TaxCategory& c : TaxCategoryTable()) {
    for (size_t f : {c.rate.excluded, c.rate.tax, c.rate.included}) {
      if (f) fedRate.insert(f);
    }
    for (size_t f : {c.businessType.excluded, c.businessType.tax, c.businessType.included}) {
      if (f) fedBusiness.insert(f);
    }
  }
  EXPECT_EQ(fedRate, rateFields);
  EXPECT_EQ(fedBusiness, businessFields);
}

TEST(TaxCategories, TableAgreesWithThePurchaseTestAndTheImportRule) {
  // The categories 21-23 and 25-29 are the taxable purchases; 24 is not.
  for (int code = 0; code < 256; ++code) {
    bool taxablePurchase = (code >= 21 && code <= 23) || (code >= 25 && code <= 29);
    EXPECT_EQ(IsNotTaxablePurchase(static_cast<uint8_t>(code)), !taxablePurchase) << code;
  }
  for (int code : {31, 32, 33, 35, 36, 37}) {
    const TaxCategory* c = FindTaxCategory(static_cast<uint8_t>(code));
    ASSERT_NE(c, nullptr) << code;
    EXPECT_TRUE(c->provisional);
    EXPECT_TRUE(IsProvisionalImport(static_cast<uint8_t>(code)));
    EXPECT_EQ(c->rate.excluded + c->rate.tax + c->rate.included, 0u) << code;
  }
  EXPECT_FALSE(IsProvisionalImport(34));
  EXPECT_FALSE(IsProvisionalImport(41));
  // Out of scope and non-taxable purchases feed nothing.
  for (int code : {0, 20, 24}) EXPECT_EQ(FindTaxCategory(static_cast<uint8_t>(code)), nullptr);
  // Every taxable-purchase category feeds a purchase field.
  for (int code : {21, 22, 23, 25, 26, 27, 28, 29}) {
    const TaxCategory* c = FindTaxCategory(static_cast<uint8_t>(code));
    ASSERT_NE(c, nullptr) << code;
    EXPECT_GE(c->rate.excluded, static_cast<size_t>(R::SHIIREKAZEIZEINUKI)) << code;
  }
}

}  // namespace
}  // namespace ltb::ledger
