#include "report/header_sections.h"

#include <string>

#include "report/full_width_name.h"
#include "report/rate_view.h"
#include "report/support_info.h"

namespace ltb::report {
namespace {

constexpr int kSectionLevel = 1;
constexpr int kChildLevel = 2;
constexpr const char* kDefaultProductVersion = "17.00.0X";

// A value of the support file, cut on a whole character so that its line
// fits the line buffer.
std::string SupportValue(std::string_view name, std::string_view value, std::string_view fallback) {
  if (value.empty()) value = fallback;
  return std::string(FitElementText(name, value, kChildLevel));
}

const char* EntityKindText(uint8_t kind) {
  switch (kind) {
    case 0:
    case 1: return "1";
    case 3:
    case 4: return "2";
    default: return "";
  }
}

const char* Flag12(bool one) { return one ? "1" : "2"; }

}  // namespace

bool WriteSystemSection(ReportWriter& w, const ReportContext& ctx) {
  SupportInfo support(ctx.env);
  const char* editionName = ctx.edition != nullptr ? ctx.edition->productName : "";
  std::string programName = SupportValue("PROGRAMNAME", support.ProductName(), editionName);
  std::string programVersion =
      SupportValue("PROGRAMVER", support.ProductVersion(), kDefaultProductVersion);
  return w.WriteStartTag("SYSTEM", kSectionLevel) &&
         w.WriteElement("GYOUMUPREFIX", "SY26", kChildLevel) &&
         w.WriteElement("VERSION", "1", kChildLevel) &&
         w.WriteElement("FUNCTIONID", std::to_string(ctx.notifyWParam), kChildLevel) &&
         w.WriteElement("CONNECTEDPROGRAMVER", kVersionString, kChildLevel) &&
         w.WriteElement("PROGRAMNAME", programName, kChildLevel) &&
         w.WriteElement("PROGRAMVER", programVersion, kChildLevel) &&
         w.WriteEndTag("SYSTEM", kSectionLevel);
}

bool WriteBasicSection(ReportWriter& w, const ReportContext& ctx, const host::StDATAINFO& data,
                       BasicSource source) {
  const bool principle = ctx.filingClass == host::kPrincipleTaxation;
  if (!w.WriteStartTag("BASIC", kSectionLevel) ||
      !w.WriteElement("KOMONSAKINAME", FullWidthName32(data.CompanyName()), kChildLevel)) {
    return false;
  }
  const host::StSaveTaxInfo* saved = ctx.taxSaveInfo;
  if (source == BasicSource::kReturnValues && saved == nullptr) return false;

  int32_t from = data.PeriodStart();
  int32_t to = data.PeriodEnd();
  const char* oldRate = Flag12(HasOldRateAmounts(ctx));
  const char* salesTaxCalc = "1";
  const char* purchaseTaxCalc = principle ? "1" : "";
  if (source == BasicSource::kReturnValues) {
    from = saved->I32(host::StSaveTaxInfo::kReportFromOff);
    to = saved->I32(host::StSaveTaxInfo::kReportToOff);
    oldRate = Flag12(saved->U8(host::StSaveTaxInfo::kOldRateFlagOff) != 0);
    salesTaxCalc = saved->U8(host::StSaveTaxInfo::kSalesTaxCalcFlagOff) != 0 ? "2" : "1";
    if (principle) {
      purchaseTaxCalc = saved->U8(host::StSaveTaxInfo::kPurchaseTaxCalcFlagOff) != 0 ? "2" : "1";
    }
  }
  return w.WriteElement("JIGYOUNENDOFROM", std::to_string(from), kChildLevel) &&
         w.WriteElement("JIGYOUNENDOTO", std::to_string(to), kChildLevel) &&
         w.WriteElement("HOUJINKOJINKUBUN", EntityKindText(data.EntityKind()), kChildLevel) &&
         w.WriteElement("KAZEIKUBUN", principle ? "1" : "2", kChildLevel) &&
         w.WriteElement("KEIKASHOCHIKAZEISHISAN", oldRate, kChildLevel) &&
         w.WriteElement("URIAGEZEIGAKUKEISAN", salesTaxCalc, kChildLevel) &&
         w.WriteElement("SHIIREZEIGAKUKEISAN", purchaseTaxCalc, kChildLevel) &&
         w.WriteEndTag("BASIC", kSectionLevel);
}

bool HasOldRateAmounts(const ReportContext& ctx) {
  host::ClSetShohizei* settings = TaxSettingsOf(ctx.host);
  if (settings == nullptr || ctx.totals == nullptr) return false;
  const long hostRates = settings->GetTaxRateCount();
  const RateView view(*ctx.totals, hostRates);
  // The blocks after the current rate up to, not including, the last one:
  // with 8%, 5% and 3% that is the 5% block alone.
  const long n = static_cast<int16_t>(hostRates - 1);
  for (long i = 1; i <= n - 1; ++i) {
    for (size_t off = RateField::KAZEIURIAGEZEINUKI; off <= RateField::KASHIDAOREKAISHUZEIKOMI;
         off += 8) {
      if (view.Rate(static_cast<size_t>(i), static_cast<RateField>(off)) != 0) return true;
    }
  }
  if (ctx.totals->OldRateSum3 != 0) return true;
  if (n <= 1) return false;
  constexpr BusinessTypeField kAmounts[] = {
      BusinessTypeField::KAZEIURIAGESHUZEIKOMI, BusinessTypeField::KAZEIURIAGESHUZEIGAKU,
      BusinessTypeField::KAZEIURIAGESHUZEINUKI, BusinessTypeField::KAZEIHENKANSHUZEIKOMI,
      BusinessTypeField::KAZEIHENKANSHUZEIGAKU, BusinessTypeField::KAZEIHENKANSHUZEINUKI};
  for (long rate = 1; rate <= n - 1; ++rate) {
    for (size_t type = 0; type < aggregate::kBusinessTypes; ++type) {
      for (BusinessTypeField f : kAmounts) {
        if (view.BusinessType(static_cast<size_t>(rate), type, f) != 0) return true;
      }
    }
  }
  return false;
}

}  // namespace ltb::report
