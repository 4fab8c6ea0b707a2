#include "report/amount_blocks.h"

#include <array>

#include "host/records.h"

namespace ltb::report {
namespace {

using Slots = std::array<int, 3>;
// A slot meaning "the element does not exist in this rate's block".
constexpr int kAbsent = -2;

constexpr const char* kRateDigits[3] = {"8", "5", "3"};

using Saved = host::StSaveTaxInfo;

constexpr Slots PerRate(const size_t (&off)[3]) {
  return {static_cast<int>(off[0]), static_cast<int>(off[1]), static_cast<int>(off[2])};
}

// Bases of the per-rate areas of StSaveTaxInfo.
constexpr Slots kSalesBase = PerRate(Saved::kSalesAreaOff);
constexpr Slots kPurchaseBase = PerRate(Saved::kPurchaseAreaOff);
constexpr Slots kBadDebtBase = PerRate(Saved::kBadDebtAreaOff);
constexpr Slots kSalesTypeBase = PerRate(Saved::kSalesTypeAreaOff);  // business types 1..5
constexpr Slots kSalesType6Base = PerRate(Saved::kSalesType6AreaOff);
constexpr Slots kReturnsTypeBase = PerRate(Saved::kReturnsTypeAreaOff);
constexpr Slots kReturnsType6Base = PerRate(Saved::kReturnsType6AreaOff);
// Slots at 8% and 5% only.
constexpr Slots kImportLocalTax = {static_cast<int>(Saved::kImportLocalTaxOff[0]),
                                   static_cast<int>(Saved::kImportLocalTaxOff[1]), kAbsent};
constexpr Slots kImportRefundLocalTax = {static_cast<int>(Saved::kImportRefundLocalTaxOff[0]),
                                         static_cast<int>(Saved::kImportRefundLocalTaxOff[1]),
                                         kAbsent};

constexpr Slots Plus(const Slots& base, int rel) {
  return {base[0] + rel, base[1] + rel, base[2] + rel};
}
constexpr Slots Sales(int rel) { return Plus(kSalesBase, rel); }
constexpr Slots Purchase(int rel) { return Plus(kPurchaseBase, rel); }
constexpr Slots NoSlots() { return {kNoSlot, kNoSlot, kNoSlot}; }

// One element as it stands in each rate's block of a kind.
struct Row {
  std::string name;  // without the rate digit
  JournalSource journal;
  RateField rateField{};
  Slots slots{};
  bool scaled = false;
  size_t businessType = 0;
  BusinessTypeField btField{};
};

Row Field(const char* name, RateField f, Slots slots, bool scaled = false) {
  return {name, JournalSource::kRateField, f, slots, scaled};
}
Row Blank(const char* name, Slots slots) { return {name, JournalSource::kEmpty, {}, slots}; }

std::vector<Row> SalesRows() {
  using F = RateField;
  return {Field("KAZEIURIAGEZEINUKI", F::KAZEIURIAGEZEINUKI, Sales(0)),
          Field("KAZEIURIAGEZEIGAKU", F::KAZEIURIAGEZEIGAKU, Sales(8)),
          Field("KAZEIURIAGEZEIKOMI", F::KAZEIURIAGEZEIKOMI, Sales(16)),
          Field("MENZEIURIAGEZEINUKI", F::MENZEIURIAGEZEINUKI, Sales(24)),
          Field("HIKAZEIURIAGEYUUKAZEINUKI", F::HIKAZEIURIAGEYUUKAZEINUKI, Sales(32), true),
          Field("HIKAZEIURIAGEYUUKAIGAIZEINUKI", F::HIKAZEIURIAGEYUUKAIGAIZEINUKI, Sales(40)),
          Field("HIKAZEISHISANYUSHUTSUZEINUKI", F::HIKAZEISHISANYUSHUTSUZEINUKI, Sales(88)),
          Field("KAZEIURIAGEHENKANZEINUKI", F::KAZEIURIAGEHENKANZEINUKI, Sales(48)),
          Field("KAZEIURIAGEHENKANZEIGAKU", F::KAZEIURIAGEHENKANZEIGAKU, Sales(56)),
          Field("KAZEIURIAGEHENKANZEIKOMI", F::KAZEIURIAGEHENKANZEIKOMI, Sales(64)),
          Field("MENZEIURIAGEHENKANZEINUKI", F::MENZEIURIAGEHENKANZEINUKI, Sales(72)),
          Field("HIKAZEIURIAGEHENKANZEINUKI", F::HIKAZEIURIAGEHENKANZEINUKI, Sales(80)),
          Blank("HIKAZEISHISANHENKANZEINUKI", NoSlots())};
}

std::vector<Row> PurchaseRows() {
  using F = RateField;
  constexpr int A = kAbsent;
  return {Field("SHIIREKAZEIZEINUKI", F::SHIIREKAZEIZEINUKI, Purchase(0)),
          Field("SHIIREKAZEIZEIGAKU", F::SHIIREKAZEIZEIGAKU, Purchase(8)),
          Field("SHIIREKAZEIZEIKOMI", F::SHIIREKAZEIZEIKOMI, Purchase(16)),
          Field("SHIIREHIKAZEIZEINUKI", F::SHIIREHIKAZEIZEINUKI, Purchase(24)),
          Field("SHIIREHIKAZEIZEIGAKU", F::SHIIREHIKAZEIZEIGAKU, Purchase(32)),
          Field("SHIIREHIKAZEIZEIKOMI", F::SHIIREHIKAZEIZEIKOMI, Purchase(40)),
          Field("SHIIREKYOTUUZEINUKI", F::SHIIREKYOTUUZEINUKI, Purchase(48)),
          Field("SHIIREKYOTUUZEIGAKU", F::SHIIREKYOTUUZEIGAKU, Purchase(56)),
          Field("SHIIREKYOTUUZEIKOMI", F::SHIIREKYOTUUZEIKOMI, Purchase(64)),
          Blank("TOKUTEISHIIREKAZEIZEINUKI", {14243, A, A}),
          Blank("TOKUTEISHIIREHIKAZEIZEINUKI", {14251, A, A}),
          Blank("TOKUTEISHIIREKYOTUUZEINUKI", {14259, A, A}),
          Field("YUNYUSHIIREKAZEIZEIGAKU", F::YUNYUSHIIREKAZEIZEIGAKU, Purchase(80)),
          Field("YUNYUSHIIREHIKAZEIZEIGAKU", F::YUNYUSHIIREHIKAZEIZEIGAKU, Purchase(104)),
          Field("YUNYUSHIIREKYOTUUZEIGAKU", F::YUNYUSHIIREKYOTUUZEIGAKU, Purchase(128)),
          Field("YUNYUSHIIRETIHO", F::YUNYUSHIIRETIHO, kImportLocalTax),
          Field("SHIIREHENKANKAZEIZEINUKI", F::SHIIREHENKANKAZEIZEINUKI, Purchase(152)),
          Field("SHIIREHENKANKAZEIZEIGAKU", F::SHIIREHENKANKAZEIZEIGAKU, Purchase(160)),
          Field("SHIIREHENKANKAZEIZEIKOMI", F::SHIIREHENKANKAZEIZEIKOMI, Purchase(168)),
          Field("SHIIREHENKANHIKAZEIZEINUKI", F::SHIIREHENKANHIKAZEIZEINUKI, Purchase(176)),
          Field("SHIIREHENKANHIKAZEIZEIGAKU", F::SHIIREHENKANHIKAZEIZEIGAKU, Purchase(184)),
          Field("SHIIREHENKANHIKAZEIZEIKOMI", F::SHIIREHENKANHIKAZEIZEIKOMI, Purchase(192)),
          Field("SHIIREHENKANKYOTUUZEINUKI", F::SHIIREHENKANKYOTUUZEINUKI, Purchase(200)),
          Field("SHIIREHENKANKYOTUUZEIGAKU", F::SHIIREHENKANKYOTUUZEIGAKU, Purchase(208)),
          Field("SHIIREHENKANKYOTUUZEIKOMI", F::SHIIREHENKANKYOTUUZEIKOMI, Purchase(216)),
          Blank("TOKUTEISHIIREHENKANKAZEIZEINUKI", {14267, A, A}),
          Blank("TOKUTEISHIIREHENKANHIKAZEIZEINUKI", {14275, A, A}),
          Blank("TOKUTEISHIIREHENKANKYOTUUZEINUKI", {14283, A, A}),
          Field("YUNYUHENKANKAZEIZEIGAKU", F::YUNYUHENKANKAZEIZEIGAKU, Purchase(232)),
          Field("YUNYUHENKANHIKAZEIZEIGAKU", F::YUNYUHENKANHIKAZEIZEIGAKU, Purchase(256)),
          Field("YUNYUHENKANKYOTUUZEIGAKU", F::YUNYUHENKANKYOTUUZEIGAKU, Purchase(280)),
          Field("YUNYUHENKANTIHO", F::YUNYUHENKANTIHO, kImportRefundLocalTax)};
}

std::vector<Row> BadDebtRows() {
  using F = RateField;
  return {Field("KASHIDAOREZEINUKI", F::KASHIDAOREZEINUKI, Plus(kBadDebtBase, 0)),
          Field("KASHIDAOREZEIGAKU", F::KASHIDAOREZEIGAKU, Plus(kBadDebtBase, 8)),
          Field("KASHIDAOREZEIKOMI", F::KASHIDAOREZEIKOMI, Plus(kBadDebtBase, 16)),
          Field("KASHIDAOREKAISHUZEINUKI", F::KASHIDAOREKAISHUZEINUKI, Plus(kBadDebtBase, 24)),
          Field("KASHIDAOREKAISHUZEIGAKU", F::KASHIDAOREKAISHUZEIGAKU, Plus(kBadDebtBase, 32)),
          Field("KASHIDAOREKAISHUZEIKOMI", F::KASHIDAOREKAISHUZEIKOMI, Plus(kBadDebtBase, 40))};
}

std::vector<Row> ExemptionRows() {
  return {Blank("GIMUMENJOKAZEI", {12467, 485, 509}),
          Blank("GIMUMENJOHIKAZEI", {13955, 2068, 2084}),
          Blank("GIMUMENJOKYOTUU", {13963, 2076, 2092}),
          Blank("KAZEIURIAGEWARIAIHENDO", {12475, 493, 517}),
          Blank("KAZEIGYOMUYOTENYO", {12483, 501, 525})};
}

// The three amounts of one kind of business-type figure, in the file's order
// (tax excluded, tax, tax included) with the rate-block field each one is
// set against.
struct TypedTriple {
  const char* suffix;
  BusinessTypeField btField;
  RateField total;
};

// Six business types of three amounts, the three untyped remainders, then
// the tax-exempt amount of the rate.
std::vector<Row> BusinessTypeRows(const char* stem, const std::array<TypedTriple, 3>& triple,
                                  Slots typeBase, Slots type6Base, const Row& exempt) {
  std::vector<Row> rows;
  for (size_t type = 0; type < aggregate::kBusinessTypes; ++type) {
    Slots base = type < 5 ? Plus(typeBase, 24 * static_cast<int>(type)) : type6Base;
    for (size_t k = 0; k < triple.size(); ++k) {
      Row row{std::string(stem) + std::to_string(type + 1) + "SHU" + triple[k].suffix,
              JournalSource::kBusinessType,
              {},
              Plus(base, 8 * static_cast<int>(k))};
      row.businessType = type;
      row.btField = triple[k].btField;
      rows.push_back(row);
    }
  }
  for (const TypedTriple& t : triple) {
    Row row{std::string(stem) + "ZERO" + t.suffix, JournalSource::kUntypedRemainder, t.total,
            NoSlots()};
    row.btField = t.btField;
    rows.push_back(row);
  }
  rows.push_back(exempt);
  return rows;
}

std::vector<Row> SalesByTypeRows() {
  using B = BusinessTypeField;
  using F = RateField;
  return BusinessTypeRows("KAZEIURIAGE",
                          {{{"ZEINUKI", B::KAZEIURIAGESHUZEINUKI, F::KAZEIURIAGEZEINUKI},
                            {"ZEIGAKU", B::KAZEIURIAGESHUZEIGAKU, F::KAZEIURIAGEZEIGAKU},
                            {"ZEIKOMI", B::KAZEIURIAGESHUZEIKOMI, F::KAZEIURIAGEZEIKOMI}}},
                          kSalesTypeBase, kSalesType6Base,
                          Field("MENZEIURIAGEZEINUKI", F::MENZEIURIAGEZEINUKI, Sales(24)));
}

std::vector<Row> ReturnsByTypeRows() {
  using B = BusinessTypeField;
  using F = RateField;
  return BusinessTypeRows(
      "KAZEIHENKAN",
      {{{"ZEINUKI", B::KAZEIHENKANSHUZEINUKI, F::KAZEIURIAGEHENKANZEINUKI},
        {"ZEIGAKU", B::KAZEIHENKANSHUZEIGAKU, F::KAZEIURIAGEHENKANZEIGAKU},
        {"ZEIKOMI", B::KAZEIHENKANSHUZEIKOMI, F::KAZEIURIAGEHENKANZEIKOMI}}},
      kReturnsTypeBase, kReturnsType6Base,
      Field("MENZEIURIAGEHENKANZEINUKI", F::MENZEIURIAGEHENKANZEINUKI, Sales(72)));
}

// Three blocks, one per rate, named prefix + rate index.
void AddRateBlocks(std::vector<AmountBlock>& blocks, const char* prefix,
                   const std::vector<Row>& rows) {
  for (size_t rate = 0; rate < 3; ++rate) {
    AmountBlock block{prefix + std::to_string(rate), {}};
    for (const Row& row : rows) {
      int slot = row.slots[rate];
      if (slot == kAbsent) continue;
      AmountElement e;
      e.name = row.name + kRateDigits[rate];
      e.rate = rate;
      e.journal = row.journal;
      e.rateField = row.rateField;
      e.businessType = row.businessType;
      e.btField = row.btField;
      e.returnSlot = slot;
      e.scaledByTwenty = row.scaled;
      block.elements.push_back(std::move(e));
    }
    blocks.push_back(std::move(block));
  }
}

std::vector<AmountBlock> BuildBlocks() {
  std::vector<AmountBlock> blocks;
  AddRateBlocks(blocks, "D02011", SalesRows());
  AddRateBlocks(blocks, "D02012", PurchaseRows());
  AddRateBlocks(blocks, "D02013", BadDebtRows());
  AddRateBlocks(blocks, "D0220", ExemptionRows());
  AddRateBlocks(blocks, "D02021", SalesByTypeRows());
  AddRateBlocks(blocks, "D02022", ReturnsByTypeRows());
  AddRateBlocks(blocks, "D02023", BadDebtRows());
  return blocks;
}

}  // namespace

const std::vector<AmountBlock>& AmountBlocks() {
  static const std::vector<AmountBlock> blocks = BuildBlocks();
  return blocks;
}

bool WriteAmountBlocks(ReportWriter& w,
                       const std::function<std::string(const AmountElement&)>& text) {
  constexpr int kBlockLevel = 2;
  constexpr int kElementLevel = 3;
  for (const AmountBlock& block : AmountBlocks()) {
    if (!w.WriteStartTag(block.name, kBlockLevel)) return false;
    for (const AmountElement& e : block.elements) {
      if (!w.WriteElement(e.name, text(e), kElementLevel)) return false;
    }
    if (!w.WriteEndTag(block.name, kBlockLevel)) return false;
  }
  return true;
}

}  // namespace ltb::report
