// The shipped tax-category table: the usual spellings, and every category
// and rate of the ledger written and read back unchanged.
#include "tools/books/tax_text_table.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "ledger/tax_categories.h"

namespace ltb::books {
namespace {

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

class ShippedTaxTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* root = std::getenv("LTB_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    std::string error;
    ASSERT_TRUE(table.Load(std::string(root) + "/tools/books/data/tax-categories.tsv", &error))
        << error;
  }
  TaxTextTable table;
};

TEST_F(ShippedTaxTextTest, UsualSpellingsResolve) {
  struct Case {
    std::string text;
    long date;
    int category, rate, type;
  } cases[] = {
      {U8(u8"課税売上8%"), 20160415, 1, 800, 0},
      {U8(u8"課税売上８％五種"), 20160415, 1, 800, 5},
      {U8(u8"課税売上8%(第2種)"), 20160415, 1, 800, 2},
      {U8(u8"課対仕入8%"), 20160415, 21, 800, 0},
      {U8(u8"課税仕入 8%"), 20160415, 21, 800, 0},
      {U8(u8"共通課税仕入8%"), 20160415, 23, 800, 0},
      {U8(u8"共対仕入5%"), 20160415, 23, 500, 0},
      {U8(u8"非課税売上"), 20160415, 5, 800, 0},
      {U8(u8"輸出売上"), 20130415, 3, 500, 0},
      {U8(u8"対象外"), 20160415, 0, 0, 0},
      {U8(u8"輸入仕入 (国税)"), 20160415, 41, 800, 0},
      {U8(u8"売上返還8%"), 20160415, 2, 800, 0},
      {U8(u8"貸倒れ8%"), 20160415, 9, 800, 0},
      {U8(u8"課税売上10%"), 20191001, 1, 1000, 0},
      {U8(u8"課税売上"), 20191001, 1, 1000, 0},
      {U8(u8"課対仕入8%(軽)"), 20191001, 21, ledger::kRateReduced8, 0},
      {U8(u8"課対仕入軽減8%"), 20191001, 21, ledger::kRateReduced8, 0},
      {U8(u8"課税売上*8%"), 20191001, 1, ledger::kRateReduced8, 0},
      {U8(u8"課税売上3%一種"), 19960415, 1, 300, 1},
  };
  for (const Case& c : cases) {
    TaxText t;
    ASSERT_TRUE(table.Resolve(c.text, c.date, &t)) << c.text;
    EXPECT_EQ(t.category, c.category) << c.text;
    EXPECT_EQ(t.rate, c.rate) << c.text;
    EXPECT_EQ(t.businessType, c.type) << c.text;
  }
  TaxText t;
  EXPECT_FALSE(table.Resolve(U8(u8"課税売上9%"), 20160415, &t));
  EXPECT_FALSE(table.Resolve(U8(u8"軽減10%課税売上"), 20160415, &t));
  EXPECT_FALSE(table.Resolve(U8(u8"課税売上軽減10%"), 20160415, &t));
}

TEST_F(ShippedTaxTextTest, EveryCategoryAndRateIsWrittenAndReadBack) {
  const int rates[] = {0, 300, 500, 800, 1000, ledger::kRateReduced8};
  std::vector<int> codes = {0, 20, 24};
  for (const ledger::TaxCategory& c : ledger::TaxCategoryTable()) codes.push_back(c.code);
  for (int code : codes) {
    for (int rate : rates) {
      for (int type : {0, 3}) {
        const std::string text = table.TextOf(code, rate, type, true);
        ASSERT_FALSE(text.empty()) << code;
        TaxText t;
        ASSERT_TRUE(table.Resolve(text, 20160415, &t)) << text;
        EXPECT_EQ(t.category, code) << text;
        EXPECT_EQ(t.rate, rate) << text;
        EXPECT_EQ(t.businessType, type) << text;
      }
    }
  }
}

}  // namespace
}  // namespace ltb::books
