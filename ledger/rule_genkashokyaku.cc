// The fixed-asset register: assets whose date meets a condition on field
// 203, read by index.
#include <vector>

#include "ledger/prepared_records.h"
#include "ledger/rule_common.h"
#include "ledger/sql_statement.h"
#include "ledger/walker_factory.h"

namespace ltb::ledger {
namespace {

using host::StKOTEISHISANINFO;

// Where the asset itself is named in the record (free bytes of it).
constexpr size_t kAssetNoOff = 0, kAssetDateOff = 4;

struct AssetRow {
  int32_t assetNo = 0;
  int32_t date = 0;
  int32_t kind = 0;
  int64_t amount = 0;
  int16_t incomeType = 0;
};

// An asset as seen by a search condition: field 203 is its date.
struct AssetView {
  const AssetRow& row;
  bool Test(const FindTerm& t) const {
    return t.field == host::StFINDINFO::kAssetDate && CompareValues(t.compare, row.date, t.value);
  }
};

class LedgerRuleGenkashokyaku : public LedgerWalker<host::ClRuleGenkashokyaku> {
 public:
  using LedgerWalker::LedgerWalker;

  long MoveReady(const host::StFINDINFO* condition, int, int) override {
    assets_.Reset();
    if (binding_.Dataset() == 0) return kWalkNoDataset;
    SqlStatement q(binding_.db().handle(),
                   "SELECT asset_no, acquired, kind, amount, income_type"
                   " FROM fixed_assets WHERE dataset = ?1 ORDER BY acquired, asset_no");
    q.Bind(1, binding_.Dataset());
    CompiledCondition match(condition);
    std::vector<AssetRow> assets;
    while (q.Step()) {
      AssetRow a;
      a.assetNo = static_cast<int32_t>(q.Int(0));
      a.date = static_cast<int32_t>(q.Int(1));
      a.kind = static_cast<int32_t>(q.Int(2));
      a.amount = q.Int(3);
      a.incomeType = static_cast<int16_t>(q.Int(4));
      if (match.Matches(AssetView{a})) assets.push_back(a);
    }
    if (!q.ok()) return kWalkReadFailed;
    assets_.Ready(std::move(assets));
    return host::kOk;
  }

  long GetCount(long* count) override { return assets_.Count(count); }

  // The year and month records are buffers of the register's schedules,
  // which this ledger does not keep: they come back zeroed.
  long Move(long index, StKOTEISHISANINFO* asset, host::StKOTEISHISANYEAR* year,
            host::StKOTEISHISANMONTH* month) override {
    if (asset == nullptr) return kWalkBadArgument;
    const AssetRow* found = nullptr;
    if (long status = assets_.At(index, &found); status != host::kOk) return status;
    const AssetRow& a = *found;
    asset->Clear();
    asset->SetI32(kAssetNoOff, a.assetNo);
    asset->SetI32(kAssetDateOff, a.date);
    asset->SetI32(StKOTEISHISANINFO::kKindOff, a.kind);
    asset->SetI64(StKOTEISHISANINFO::kAmountOff, a.amount);
    asset->SetI16(StKOTEISHISANINFO::kIncomeTypeOff, a.incomeType);
    if (year) year->Clear();
    if (month) month->Clear();
    return host::kOk;
  }

  long MoveFinish() override {
    assets_.Reset();
    return host::kOk;
  }

 private:
  PreparedRecords<AssetRow> assets_;
};

}  // namespace

std::unique_ptr<host::ClRuleGenkashokyaku> NewLedgerRuleGenkashokyaku(LedgerDb& db) {
  return std::make_unique<LedgerRuleGenkashokyaku>(db);
}

}  // namespace ltb::ledger
