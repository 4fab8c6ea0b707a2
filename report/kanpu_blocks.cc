#include "report/kanpu_blocks.h"

#include <vector>

namespace ltb::report {
namespace {

using aggregate::PurchaseLine;
using aggregate::TaxTotals;

bool IsIndividual(uint8_t kind) { return kind == 3 || kind == 4; }
bool IsCorporate(uint8_t kind) { return kind == 0 || kind == 1; }

bool AnyNonZero(const TaxTotals& t, std::span<PurchaseLine TaxTotals::*const> lines) {
  for (auto line : lines) {
    if ((t.*line).Settled != 0 || (t.*line).NonTaxable != 0) return true;
  }
  return false;
}

// One individual line of KANPUK: which of its amounts are written and the
// income groups it belongs to (a shared bit with the dataset's income-type
// mask leaves it empty).
struct IndividualLine {
  PurchaseLine TaxTotals::*line;
  bool settledWritten;
  bool nonTaxableWritten;
  unsigned groupBits;
};

constexpr IndividualLine kIndividualLines[] = {
    {&TaxTotals::JIGYOSHIIRE, true, true, 2},
    {&TaxTotals::JIGYOHITSUYOU, true, true, 2},
    {&TaxTotals::JIGYOKOTEISHISAN, true, false, 2},
    {&TaxTotals::FUDOUSANHITSUYOU, true, true, 1},
    {&TaxTotals::FUDOUSANKOTEISHISAN, true, false, 1},
    {&TaxTotals::SONOTASHIIRE, true, true, 3},
    {&TaxTotals::SONOTAHITSUYOU, true, true, 3},
    {&TaxTotals::SONOTAKOTEISHISAN, false, false, 3},
};

unsigned IncomeTypeMask(uint8_t incomeType) {
  switch (incomeType) {
    case 1: return 1;
    case 2: return 2;
    case 3: return 4;
    default: return 0;
  }
}

}  // namespace

bool WriteTextBlock(ReportWriter& w, std::string_view block, std::span<const char* const> names,
                    std::span<const std::string> texts) {
  constexpr int kBlockLevel = 2;
  constexpr int kElementLevel = 3;
  if (!w.WriteStartTag(block, kBlockLevel)) return false;
  for (size_t i = 0; i < names.size(); ++i) {
    std::string_view text = i < texts.size() ? std::string_view(texts[i]) : std::string_view();
    if (!w.WriteElement(names[i], text, kElementLevel)) return false;
  }
  return w.WriteEndTag(block, kBlockLevel);
}

bool WriteKanpuhBlock(ReportWriter& w, const ReportContext& ctx, const host::StDATAINFO& data,
                      const host::StSHOHIZEIINFO& settings) {
  std::vector<std::string> texts;
  if (!IsIndividual(data.EntityKind()) && ctx.totals != nullptr) {
    const TaxTotals& t = *ctx.totals;
    const uint8_t mode = ctx.fractionRounding;
    const char* taxClass = settings.TaxIncluded() != 0 ? "1" : "2";
    constexpr PurchaseLine TaxTotals::*kLines[] = {
        &TaxTotals::SHOHINSHIIRE, &TaxTotals::HANBAIIPPAN, &TaxTotals::EIGYOGAIHIYOU,
        &TaxTotals::SONOTASONEKI};
    texts.push_back(AnyNonZero(t, kLines) ? taxClass : "");
    for (auto line : kLines) {
      texts.push_back(FormatAmount((t.*line).Settled, mode));
      texts.push_back(FormatAmount((t.*line).NonTaxable, mode));
    }
    bool assets = t.KOTEISHISAN != 0 || t.KURINOBESHISAN != 0;
    texts.push_back(assets ? taxClass : "");
    texts.push_back(FormatAmount(t.KOTEISHISAN, mode));
    texts.push_back("");
    texts.push_back(FormatAmount(t.KURINOBESHISAN, mode));
  }
  return WriteTextBlock(w, "KANPUH", kKanpuhElements, texts);
}

bool WriteKanpukBlock(ReportWriter& w, const ReportContext& ctx, const host::StDATAINFO& data,
                      const host::StSHOHIZEIINFO& settings) {
  std::vector<std::string> texts;
  if (!IsCorporate(data.EntityKind()) && ctx.filingClass == host::kPrincipleTaxation &&
      ctx.totals != nullptr) {
    const TaxTotals& t = *ctx.totals;
    const unsigned mask = IncomeTypeMask(data.IncomeMode());
    bool any = false;
    for (const IndividualLine& l : kIndividualLines) {
      any = any || (t.*l.line).Settled != 0 || (t.*l.line).NonTaxable != 0;
    }
    texts.push_back(any ? (settings.TaxIncluded() != 0 ? "1" : "2") : "");
    auto amountText = [&](bool written, unsigned groups, int64_t amount) {
      if (!written || (groups & mask) != 0) return std::string();
      return FormatAmountWithZero(amount, ctx.fractionRounding);
    };
    for (const IndividualLine& l : kIndividualLines) {
      texts.push_back(amountText(l.settledWritten, l.groupBits, (t.*l.line).Settled));
      texts.push_back(amountText(l.nonTaxableWritten, l.groupBits, (t.*l.line).NonTaxable));
    }
  }
  return WriteTextBlock(w, "KANPUK", kKanpukElements, texts);
}

}  // namespace ltb::report
