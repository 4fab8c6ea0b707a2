#include "ledger/tax_categories.h"

#include <array>

namespace ltb::ledger {
namespace {

using R = host::StTAXREPORTRATEINFO;
using B = host::StTAXREPORTBUSINESSTYPEINFO;
constexpr BookSide D = BookSide::kDebit;
constexpr BookSide C = BookSide::kCredit;

constexpr CategoryFields Three(size_t excl, size_t tax, size_t incl) { return {excl, tax, incl}; }
constexpr CategoryFields ExclOnly(size_t excl) { return {excl, 0, 0}; }
constexpr CategoryFields TaxOnly(size_t tax) { return {0, tax, 0}; }

// Codes 0 and 20 are out of scope, 24 is a non-taxable purchase; those and
// every unlisted code feed nothing.
// The table keeps one category per entry, laid out by hand.
// clang-format off
constexpr std::array kTable = {
    // Sales side: credit.
    TaxCategory{1, C, Three(R::KAZEIURIAGEZEINUKI, R::KAZEIURIAGEZEIGAKU, R::KAZEIURIAGEZEIKOMI),
                Three(B::KAZEIURIAGESHUZEINUKI, B::KAZEIURIAGESHUZEIGAKU, B::KAZEIURIAGESHUZEIKOMI),
                false, "課税売上"},
    TaxCategory{2, D, Three(R::KAZEIURIAGEHENKANZEINUKI, R::KAZEIURIAGEHENKANZEIGAKU,
                            R::KAZEIURIAGEHENKANZEIKOMI),
                Three(B::KAZEIHENKANSHUZEINUKI, B::KAZEIHENKANSHUZEIGAKU, B::KAZEIHENKANSHUZEIKOMI),
                false, "課税売上返還"},
    TaxCategory{3, C, ExclOnly(R::MENZEIURIAGEZEINUKI), {}, false, "輸出免税売上"},
    TaxCategory{4, D, ExclOnly(R::MENZEIURIAGEHENKANZEINUKI), {}, false, "輸出免税売上返還"},
    TaxCategory{5, C, ExclOnly(R::HIKAZEIURIAGEYUUKAIGAIZEINUKI), {}, false, "非課税売上"},
    TaxCategory{6, D, ExclOnly(R::HIKAZEIURIAGEHENKANZEINUKI), {}, false, "非課税売上返還"},
    TaxCategory{7, C, ExclOnly(R::HIKAZEIURIAGEYUUKAZEINUKI), {}, false, "有価証券売上"},
    TaxCategory{8, C, ExclOnly(R::HIKAZEISHISANYUSHUTSUZEINUKI), {}, false, "非課税資産輸出"},
    // A written-off receivable is booked as a loss on the debit side; a
    // recovery as income on the credit side.
    TaxCategory{9, D, Three(R::KASHIDAOREZEINUKI, R::KASHIDAOREZEIGAKU, R::KASHIDAOREZEIKOMI), {},
                false, "貸倒れ"},
    TaxCategory{10, C, Three(R::KASHIDAOREKAISHUZEINUKI, R::KASHIDAOREKAISHUZEIGAKU,
                             R::KASHIDAOREKAISHUZEIKOMI),
                {}, false, "貸倒回収"},
    // Purchase side: debit; purchase returns: credit.
    TaxCategory{21, D, Three(R::SHIIREKAZEIZEINUKI, R::SHIIREKAZEIZEIGAKU, R::SHIIREKAZEIZEIKOMI),
                {}, false, "課税売上対応仕入"},
    TaxCategory{22, D, Three(R::SHIIREHIKAZEIZEINUKI, R::SHIIREHIKAZEIZEIGAKU,
                             R::SHIIREHIKAZEIZEIKOMI),
                {}, false, "非課税売上対応仕入"},
    TaxCategory{23, D, Three(R::SHIIREKYOTUUZEINUKI, R::SHIIREKYOTUUZEIGAKU, R::SHIIREKYOTUUZEIKOMI),
                {}, false, "共通対応仕入"},
    TaxCategory{25, C, Three(R::SHIIREHENKANKAZEIZEINUKI, R::SHIIREHENKANKAZEIZEIGAKU,
                             R::SHIIREHENKANKAZEIZEIKOMI),
                {}, false, "課税売上対応仕入返還"},
    TaxCategory{26, C, Three(R::SHIIREHENKANHIKAZEIZEINUKI, R::SHIIREHENKANHIKAZEIZEIGAKU,
                             R::SHIIREHENKANHIKAZEIZEIKOMI),
                {}, false, "非課税売上対応仕入返還"},
    TaxCategory{27, C, Three(R::SHIIREHENKANKYOTUUZEINUKI, R::SHIIREHENKANKYOTUUZEIGAKU,
                             R::SHIIREHENKANKYOTUUZEIKOMI),
                {}, false, "共通対応仕入返還"},
    // Taxable purchases of fixed assets count with the ordinary purchases.
    TaxCategory{28, D, Three(R::SHIIREKAZEIZEINUKI, R::SHIIREKAZEIZEIGAKU, R::SHIIREKAZEIZEIKOMI),
                {}, false, "課税売上対応固定資産"},
    TaxCategory{29, D, Three(R::SHIIREKYOTUUZEINUKI, R::SHIIREKYOTUUZEIGAKU, R::SHIIREKYOTUUZEIKOMI),
                {}, false, "共通対応固定資産"},
    // Imports whose national and local portions are not yet determined.
    TaxCategory{31, D, {}, {}, true, "輸入仮払(課税売上対応)"},
    TaxCategory{32, D, {}, {}, true, "輸入仮払(非課税売上対応)"},
    TaxCategory{33, D, {}, {}, true, "輸入仮払(共通対応)"},
    TaxCategory{35, C, {}, {}, true, "輸入仮払返還(課税売上対応)"},
    TaxCategory{36, C, {}, {}, true, "輸入仮払返還(非課税売上対応)"},
    TaxCategory{37, C, {}, {}, true, "輸入仮払返還(共通対応)"},
    // Determined imports: the side's tax amount is the national tax paid at
    // customs (41-43, returns 45-47) or its local-tax portion (44, 48).
    TaxCategory{41, D, TaxOnly(R::YUNYUSHIIREKAZEIZEIGAKU), {}, false, "輸入国税(課税売上対応)"},
    TaxCategory{42, D, TaxOnly(R::YUNYUSHIIREHIKAZEIZEIGAKU), {}, false, "輸入国税(非課税売上対応)"},
    TaxCategory{43, D, TaxOnly(R::YUNYUSHIIREKYOTUUZEIGAKU), {}, false, "輸入国税(共通対応)"},
    TaxCategory{44, D, TaxOnly(R::YUNYUSHIIRETIHO), {}, false, "輸入地方消費税"},
    TaxCategory{45, C, TaxOnly(R::YUNYUHENKANKAZEIZEIGAKU), {}, false, "輸入国税返還(課税売上対応)"},
    TaxCategory{46, C, TaxOnly(R::YUNYUHENKANHIKAZEIZEIGAKU), {}, false,
                "輸入国税返還(非課税売上対応)"},
    TaxCategory{47, C, TaxOnly(R::YUNYUHENKANKYOTUUZEIGAKU), {}, false, "輸入国税返還(共通対応)"},
    TaxCategory{48, C, TaxOnly(R::YUNYUHENKANTIHO), {}, false, "輸入地方消費税返還"},
};
// clang-format on

constexpr std::array<const TaxCategory*, 256> BuildIndex() {
  std::array<const TaxCategory*, 256> index{};
  for (const TaxCategory& c : kTable) index[c.code] = &c;
  return index;
}

}  // namespace

std::span<const TaxCategory> TaxCategoryTable() { return kTable; }

const TaxCategory* FindTaxCategory(uint8_t code) {
  static constexpr std::array<const TaxCategory*, 256> kIndex = BuildIndex();
  return kIndex[code];
}

bool IsNotTaxablePurchase(uint8_t code) { return code < 21 || code == 24 || code >= 30; }

bool IsProvisionalImport(uint8_t code) {
  return (code >= 31 && code <= 33) || (code >= 35 && code <= 37);
}

}  // namespace ltb::ledger
