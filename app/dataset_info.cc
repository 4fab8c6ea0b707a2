#include "app/dataset_info.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "host/month_slots.h"
#include "platform/cp932.h"

namespace ltb::app {
namespace {

constexpr const char* kSource = "ControlATS26";
constexpr unsigned long kLineMonthsOfDates = 7007;
constexpr unsigned long kLineTaxReturnRead = 6923;

// Names shown in the conditions dialog, indexed as the texts below use them.
constexpr const char* kNames[] = {
    "免税",
    "簡易課税",
    "原則課税",
    "主となる事業分類",
    "課税仕入控除",
    "個別対応方式",
    "一括比例配分方式",
    "指定なし",
    "第一種事業 卸売業",
    "第二種事業 小売業",
    "第三種事業 製造業",
    "第四種事業 その他",
    "第五種事業 サービス業",
    "第六種事業 不動産業",
};
constexpr int kNameCount = sizeof kNames / sizeof kNames[0];

const char* Name(int index) { return index >= 0 && index < kNameCount ? kNames[index] : nullptr; }

host::ClSetData* DataSetList(host::HostLibrary& host, RunContext& ctx) {
  if (ctx.dataSetList == nullptr) ctx.dataSetList = host::DataSet(host.DataMgr());
  return ctx.dataSetList;
}

// The accounting period object of the dataset list, or null.
std::unique_ptr<host::ClAccPeriod> AccPeriod(host::HostLibrary& host, RunContext& ctx, long* code) {
  std::unique_ptr<host::ClAccPeriod> period;
  host::ClSetData* data = DataSetList(host, ctx);
  *code = data ? data->GetAccPeriod(&period) : host::kCannotCreate;
  if (*code == host::kOk && !period) *code = host::kCannotCreate;
  return *code == host::kOk ? std::move(period) : nullptr;
}

void RecordError(host::HostLibrary& host, long code, unsigned long line) {
  host.MsgMgr().SetLastError(code, code != 0 ? kSource : nullptr, code != 0 ? line : 0);
}

// Stores text in the shared buffer, cut to 50 bytes on a character boundary.
const char* Store(RunContext& ctx, std::string_view text) {
  std::memset(ctx.datasetText, 0, sizeof ctx.datasetText);
  const std::string_view cut = platform::CutOnCharBoundary(text, sizeof ctx.datasetText - 1);
  std::memcpy(ctx.datasetText, cut.data(), cut.size());
  return ctx.datasetText;
}

// " text", or empty for none. Built by appending: GCC 12 warns falsely
// (-Wrestrict) about operator+ on a literal and a string at -O2.
std::string Blank(std::string_view text) {
  std::string s;
  if (text.data() == nullptr) return s;
  s.reserve(text.size() + 1);
  s.push_back(' ');
  s.append(text);
  return s;
}
std::string Blank(const char* text) { return text ? Blank(std::string_view(text)) : ""; }

}  // namespace

int LoadSelectedDataInfo(host::HostLibrary& host, RunContext& ctx, host::StDATAINFO* record) {
  record->Clear();
  host::ClSetData* data = DataSetList(host, ctx);
  host::ClSysUser* user = host.DataMgr().GetSysUserObject();
  if (data == nullptr || user == nullptr) return 0;
  char userId[65] = {};
  user->GetCurUserID(userId);
  userId[64] = '\0';
  long first = 0, second = 0;
  user->GetSelectedNo(userId, &first, &second);

  host::Cursor cursor = 0;
  if (data->GetDatCursor(&cursor) != host::kOk) return 0;
  int found = 0;
  if (data->ReadyDat(cursor, 0) == host::kOk) {
    host::StDATAINFO walked;
    while (data->WalkDat(&walked, cursor) == host::kOk) {
      if (walked.DatasetNo() == second) {
        *record = walked;
        found = 1;
        break;
      }
    }
  }
  data->ReleaseDatCursor(cursor);
  return found;
}

int LoadTaxSettings(host::HostLibrary& host, RunContext& ctx, host::StSHOHIZEIINFO* settings,
                    const host::StDATAINFO& dataset) {
  if (ctx.taxSettingsSet == nullptr) ctx.taxSettingsSet = host::TaxSettingsSet(host.DataMgr());
  if (ctx.taxSettingsSet == nullptr) return 0;
  ctx.taxSettingsSet->AttachSetMgr(host.DataMgr().GetSetMgr());
  ctx.taxSettingsSet->SetCurDataID(std::string(dataset.DataId()).c_str());
  host::StSHOHIZEIINFO read;
  if (ctx.taxSettingsSet->Get(&read) != host::kOk) return 0;
  *settings = read;
  return 1;
}

const char* DatasetText(host::HostLibrary& host, RunContext& ctx, int kind,
                        const host::StDATAINFO& dataset) {
  Store(ctx, "");
  if (kind == kCompanyText) return Store(ctx, Blank(dataset.CompanyName()));
  if (kind == kPeriodText) {
    const int32_t a = dataset.PeriodStart(), b = dataset.PeriodEnd();
    char text[128];
    std::snprintf(text, sizeof text, " %04d/%02d/%02d～%04d/%02d/%02d", a / 10000, a / 100 % 100,
                  a % 100, b / 10000, b / 100 % 100, b % 100);
    return Store(ctx, text);
  }
  if (kind < kFilingClassText || kind > kDeductionText) return ctx.datasetText;

  host::StSHOHIZEIINFO settings;
  LoadTaxSettings(host, ctx, &settings, dataset);
  ctx.fractionRounding = settings.Rounding();
  const uint8_t filing = settings.FilingClass();
  switch (kind) {
    case kFilingClassText:
      ctx.filingClass = filing;
      // A class outside the table shows no name rather than reading past it.
      return Store(ctx, Blank(filing <= host::kPrincipleTaxation ? Name(filing) : nullptr));
    case kDeductionLabelText:
      return Store(ctx, (filing == host::kSimplifiedTaxation || filing == host::kPrincipleTaxation)
                            ? Name(filing + 2)
                            : "");
    default:  // kDeductionText
      if (filing == host::kSimplifiedTaxation) {
        const uint8_t type = settings.MainBusinessType();
        ctx.mainBusinessType = type;
        return Store(ctx, Blank(type <= 6 ? Name(type + 7) : nullptr));
      }
      if (filing == host::kPrincipleTaxation) {
        const uint8_t method = settings.DeductionMethod();
        return Store(ctx, Blank(method <= 1 ? Name(method + 5) : nullptr));
      }
      return ctx.datasetText;
  }
}

long FirstDateOfMonth(host::HostLibrary& host, RunContext& ctx, int month) {
  long code = 0;
  std::unique_ptr<host::ClAccPeriod> period = AccPeriod(host, ctx, &code);
  long first = 0, last = 0;
  if (period) period->GetPeriodByAMonth(month, &first, &last, 0);
  return first;
}

long MonthsOfDates(host::HostLibrary& host, RunContext& ctx, long date1, long date2,
                   int16_t* month1, int16_t* month2) {
  long code = 0;
  std::unique_ptr<host::ClAccPeriod> period = AccPeriod(host, ctx, &code);
  if (period) {
    int m = 0;
    period->GetAMonthByDate(date1, &m, 0);
    *month1 = static_cast<int16_t>(m);
    m = 0;
    code = period->GetAMonthByDate(date2, &m, 0);
    *month2 = static_cast<int16_t>(m);
  }
  RecordError(host, code, kLineMonthsOfDates);
  return code;
}

int TaxReturnFits(host::HostLibrary& host, RunContext& ctx, const host::StSaveTaxInfo& saved,
                  const host::StDATAINFO& dataset) {
  long code = 0;
  std::unique_ptr<host::ClAccPeriod> period = AccPeriod(host, ctx, &code);
  long first = 0, last = 0;
  if (period) period->GetPeriod(&first, &last);
  host::StSHOHIZEIINFO settings;
  LoadTaxSettings(host, ctx, &settings, dataset);

  using S = host::StSaveTaxInfo;
  const int32_t savedFirst = saved.I32(S::kPeriodStartOff);
  const int32_t savedLast = saved.I32(S::kPeriodEndOff);
  const int expectedTaxation = settings.FilingClass() == host::kSimplifiedTaxation ? 2 : 1;
  return savedFirst != 0 && savedLast != 0 && savedFirst == first && savedLast == last &&
         saved.U8(S::kInterimCodeOff) == dataset.InterimFlag() + 1 &&
         saved.U8(S::kTaxationCodeOff) == expectedTaxation &&
         saved.U8(S::kDeductionCodeOff) == settings.DeductionMethod() + 1;
}

int LoadTaxReturnValues(host::HostLibrary& host, RunContext& ctx, host::StSaveTaxInfo* buffer,
                        const host::StDATAINFO& dataset) {
  std::unique_ptr<host::ClSaveTaxShiryo> store = host.NewSaveTaxShiryo();
  if (!store) return 0;
  store->AttachSetMgr(host.DataMgr().GetSetMgr());
  store->SetCurDataID(std::string(dataset.DataId()).c_str());
  store->AttachOptLink(host.LinkMgr().GetOptLink());
  long code = store->RefreshCache();
  // Values read from a cache that could not be refreshed are not trusted.
  const long read = store->GetTaxSaveInfo(buffer);
  if (code == host::kOk) code = read;
  store.reset();
  RecordError(host, code, kLineTaxReturnRead);
  if (code != host::kOk) return 0;
  return TaxReturnFits(host, ctx, *buffer, dataset);
}

void BuildFindCondition(host::StFINDINFO condition[host::kFindConditionItems],
                        const host::StDATAINFO& dataset, int startMonth, int endMonth,
                        int firstMonth, int lastCode) {
  using F = host::StFINDINFO;
  for (int i = 0; i < static_cast<int>(host::kFindConditionItems); ++i) condition[i].Clear();

  int startPos;
  if (startMonth == firstMonth)
    startPos = 1;
  else if (startMonth > firstMonth)
    startPos = startMonth - firstMonth + 1;
  else
    startPos = startMonth - firstMonth + host::kMonthsPerYear + 1;

  const int lastMonth = lastCode % 100;
  const bool crosses = lastCode / 100 != 0;
  int endPos;
  if (endMonth == lastMonth) {
    endPos =
        crosses ? lastMonth - firstMonth + host::kMonthsPerYear + 1 : lastMonth - firstMonth + 1;
  } else if (lastMonth > endMonth && crosses) {
    endPos = endMonth - firstMonth + host::kMonthsPerYear + 1;
  } else {
    endPos = endMonth - firstMonth + 1;
  }

  condition[0] = host::MakeFindItem(F::kMonth, F::kAtLeast, F::kMonthPosition, startPos, F::kAnd);
  condition[1] = host::MakeFindItem(F::kMonth, F::kAtMost, F::kMonthPosition, endPos, F::kLast);
  int last = 1;
  auto appendOr = [&](int code) {
    condition[last].SetLink(F::kOr);
    condition[++last] = host::MakeFindItem(F::kMonth, F::kEqual, F::kMonthPosition, code, F::kLast);
  };
  if (dataset.InterimFlag() == 1 && endPos == 6) appendOr(host::kInterimClosingSlot);
  if (endMonth == lastMonth) appendOr(host::kYearEndClosingSlot);
}

}  // namespace ltb::app
