#include "app/testing/scripted_host.h"

namespace ltb::app::testing {
namespace {

class ScriptedStore : public host::ClSaveTaxShiryo {
 public:
  explicit ScriptedStore(ScriptedHost* h) : h_(h) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  void AttachOptLink(host::ClOptLink*) override {}
  long RefreshCache() override { return 0; }
  long GetTaxSaveInfo(host::StSaveTaxInfo* info) override {
    *info = h_->saved;
    return h_->saveReadResult;
  }

 private:
  ScriptedHost* h_;
};

}  // namespace

long ScriptedPeriod::GetPeriod(long* first, long* last) {
  *first = h_->periodStart;
  *last = h_->periodEnd;
  return 0;
}

// Months of the period are calendar months; the year follows the period.
long ScriptedPeriod::GetPeriodByAMonth(int month, long* first, long* last, int) {
  const int startYear = h_->periodStart / 10000, startMonth = h_->periodStart / 100 % 100;
  const int year = month >= startMonth ? startYear : startYear + 1;
  *first = year * 10000L + month * 100 + 1;
  *last = year * 10000L + month * 100 + 28;
  return 0;
}

long ScriptedPeriod::GetAMonthByDate(long date, int* month, int) {
  if (date == 0) return 3;  // no such date in the period
  *month = static_cast<int>(date / 100 % 100);
  return 0;
}

std::unique_ptr<host::ClSaveTaxShiryo> ScriptedHost::NewSaveTaxShiryo() {
  if (!canCreateSaveStore) return nullptr;
  return std::make_unique<ScriptedStore>(this);
}

host::StDATAINFO MakeDataset(int32_t number, const char* company, int32_t first,
                             int32_t last, int32_t interim) {
  host::StDATAINFO d;
  std::string id = std::to_string(number);
  id.insert(id.begin(), 'D');
  d.SetText(host::StDATAINFO::kDataIdOff, host::StDATAINFO::kDataIdCap, id);
  d.SetI32(host::StDATAINFO::kDatasetNoOff, number);
  d.SetText(host::StDATAINFO::kCompanyOff, host::StDATAINFO::kCompanyCap, company);
  d.SetI32(host::StDATAINFO::kPeriodStartOff, first);
  d.SetI32(host::StDATAINFO::kPeriodEndOff, last);
  d.SetI32(host::StDATAINFO::kInterimFlagOff, interim);
  return d;
}

}  // namespace ltb::app::testing
