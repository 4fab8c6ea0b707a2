#include "report/data_section.h"

#include "report/amount_blocks.h"
#include "report/kanpu_blocks.h"
#include "report/rate_view.h"

namespace ltb::report {
namespace {

// a - b with two's-complement wrap-around, so that absurd host figures can
// not make the subtraction undefined.
int64_t WrappingSub(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}

// The amount of an element before rounding; the remainder is taken over the
// exact amounts and rounded once.
int64_t JournalAmount(const RateView& view, const AmountElement& e) {
  switch (e.journal) {
    case JournalSource::kRateField: return view.Rate(e.rate, e.rateField);
    case JournalSource::kBusinessType: return view.BusinessType(e.rate, e.businessType, e.btField);
    case JournalSource::kUntypedRemainder: {
      int64_t rest = view.Rate(e.rate, e.rateField);
      for (size_t type = 0; type < aggregate::kBusinessTypes; ++type) {
        rest = WrappingSub(rest, view.BusinessType(e.rate, type, e.btField));
      }
      return rest;
    }
    case JournalSource::kEmpty: break;
  }
  return 0;
}

}  // namespace

bool WriteDataSection(ReportWriter& w, const ReportContext& ctx, const host::StDATAINFO& data,
                      const host::StSHOHIZEIINFO& settings) {
  if (!w.WriteStartTag("DATA", 1)) return false;
  host::ClSetShohizei* taxSettings = TaxSettingsOf(ctx.host);
  if (taxSettings == nullptr || ctx.totals == nullptr) return false;
  const RateView view(*ctx.totals, taxSettings->GetTaxRateCount());
  auto text = [&](const AmountElement& e) {
    if (e.journal == JournalSource::kEmpty) return std::string();
    return FormatAmount(JournalAmount(view, e), ctx.fractionRounding);
  };
  return WriteAmountBlocks(w, text) && WriteKanpuhBlock(w, ctx, data, settings) &&
         WriteKanpukBlock(w, ctx, data, settings) && w.WriteEndTag("DATA", 1);
}

}  // namespace ltb::report
