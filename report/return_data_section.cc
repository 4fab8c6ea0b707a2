#include "report/return_data_section.h"

#include <vector>

#include "report/amount_blocks.h"
#include "report/kanpu_blocks.h"
#include "report/twenty_fold.h"

namespace ltb::report {
namespace {

// The refund-statement amounts: one area, eight bytes apart, that both
// blocks read from its start.
constexpr size_t kRefundSlots = host::StSaveTaxInfo::kRefundAmountsOff;
// Flags choosing "2" (value 2) or "1" for the tax-class texts.
constexpr size_t kIndividualClassFlag = host::StSaveTaxInfo::kIndividualClassFlagOff;
constexpr size_t kSettlementClassFlag = host::StSaveTaxInfo::kSettlementClassFlagOff;
constexpr size_t kAssetClassFlag = host::StSaveTaxInfo::kAssetClassFlagOff;

bool Principle(const ReportContext& ctx) { return ctx.filingClass == host::kPrincipleTaxation; }

int64_t Slot(const host::StSaveTaxInfo& s, size_t index) { return s.I64(kRefundSlots + 8 * index); }

// The flag text when any of the slots [first, first + count) is set.
std::string ClassText(const host::StSaveTaxInfo& s, size_t flag, size_t first, size_t count) {
  for (size_t i = first; i < first + count; ++i) {
    if (Slot(s, i) != 0) return s.U8(flag) == 2 ? "2" : "1";
  }
  return "";
}

void AppendAmounts(std::vector<std::string>& texts, const ReportContext& ctx, size_t first,
                   size_t count) {
  for (size_t i = first; i < first + count; ++i) {
    texts.push_back(FormatAmount(Slot(*ctx.taxSaveInfo, i), ctx.fractionRounding));
  }
}

}  // namespace

bool WriteReturnKanpuhBlock(ReportWriter& w, const ReportContext& ctx,
                            const host::StDATAINFO& data) {
  std::vector<std::string> texts;
  uint8_t kind = data.EntityKind();
  if (kind != 3 && kind != 4 && Principle(ctx) && ctx.taxSaveInfo != nullptr) {
    const host::StSaveTaxInfo& s = *ctx.taxSaveInfo;
    texts.push_back(ClassText(s, kSettlementClassFlag, 0, 8));
    AppendAmounts(texts, ctx, 0, 8);
    texts.push_back(ClassText(s, kAssetClassFlag, 8, 6));
    AppendAmounts(texts, ctx, 8, 6);
  }
  return WriteTextBlock(w, "KANPUH", kKanpuhElements, texts);
}

bool WriteReturnKanpukBlock(ReportWriter& w, const ReportContext& ctx,
                            const host::StDATAINFO& data) {
  std::vector<std::string> texts;
  uint8_t kind = data.EntityKind();
  if (kind != 0 && kind != 1 && Principle(ctx) && ctx.taxSaveInfo != nullptr) {
    texts.push_back(ClassText(*ctx.taxSaveInfo, kIndividualClassFlag, 0, 16));
    AppendAmounts(texts, ctx, 0, 16);
  }
  return WriteTextBlock(w, "KANPUK", kKanpukElements, texts);
}

bool WriteReturnDataSection(ReportWriter& w, const ReportContext& ctx,
                            const host::StDATAINFO& data) {
  if (!w.WriteStartTag("DATA", 1)) return false;
  if (ctx.taxSaveInfo == nullptr) return false;
  const host::StSaveTaxInfo& saved = *ctx.taxSaveInfo;
  const bool blank = !Principle(ctx);
  auto text = [&](const AmountElement& e) {
    if (blank || e.returnSlot == kNoSlot) return std::string();
    const int64_t amount = saved.I64(static_cast<size_t>(e.returnSlot));
    if (e.scaledByTwenty) return FormatTwentyFold(amount, ctx.fractionRounding);
    return FormatAmount(amount, ctx.fractionRounding);
  };
  return WriteAmountBlocks(w, text) && WriteReturnKanpuhBlock(w, ctx, data) &&
         WriteReturnKanpukBlock(w, ctx, data) && w.WriteEndTag("DATA", 1);
}

}  // namespace ltb::report
