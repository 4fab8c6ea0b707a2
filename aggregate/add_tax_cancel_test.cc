// A run the person stops from the progress dialog: the walk under way ends
// at its next record, the ledger's walk is finished properly, and the
// operation fails so that no partial totals are ever reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "aggregate/add_tax.h"
#include "aggregate/testing/month_condition.h"
#include "host/testing/fake_host.h"

namespace ltb::aggregate {
namespace {

using testing::FakeHost;
using testing::FakeJournalEntry;
using testing::MakeAccount;
using testing::MakeEntry;

// A progress dialog whose person asks to stop once `stop` says so.
class StoppingView : public ui::ProgressView {
 public:
  explicit StoppingView(std::function<bool()> stop) : stop_(std::move(stop)) {}
  void Show() override {}
  void Close() override {}
  void SetCaption(std::string_view) override {}
  void SetOverall(int position, int) override { overall = position; }
  void SetActivity(int, int) override {}
  void BringToFront() override {}
  void Repaint() override {}
  bool CancelRequested() override { return stop_(); }
  int overall = 0;

 private:
  std::function<bool()> stop_;
};

struct StopCase {
  const char* name;
  uint8_t entityKind;  // 1 corporation, 3 individual
  uint8_t incomeMode;
  int32_t accountCode;
  PurchaseLine TaxTotals::*line;
};

TEST(AddTaxCancel, JournalWalkEndsAtTheNextEntryAndTheOperationFails) {
  const StopCase cases[] = {
      {"corporation", 1, 0, 0x20200000, &TaxTotals::SHOHINSHIIRE},
      {"individual", 3, 2, 0x40882000, &TaxTotals::FUDOUSANHITSUYOU},
  };
  constexpr long kEntries = 5000;
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHost host;
    host.dataset.SetU8(host::StDATAINFO::kEntityKindOff, c.entityKind);
    host.dataset.SetU8(host::StDATAINFO::kIncomeModeOff, c.incomeMode);
    host.accounts = {MakeAccount(10, c.accountCode)};
    // Each entry adds 1 to the line: the sum tells how far the walk went.
    for (long i = 0; i < kEntries; ++i) {
      host.journal.push_back(FakeJournalEntry{MakeEntry({10, 1, 30}, {90, 1, 0}), 5});
    }
    TaxTotals totals;
    StoppingView view([&] { return (totals.*c.line).NonTaxable >= 10; });
    AddTax engine(host, &view);
    testing::SetMonthCondition(engine.FindCondition(), 1, 12, 18);
    const int result = c.entityKind == 1
                           ? engine.SumCorporatePurchases(totals, host.dataset, host.taxSettings)
                           : engine.SumIndividualPurchases(totals, host.dataset, host.taxSettings);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(engine.Cancelled());
    EXPECT_EQ((totals.*c.line).NonTaxable, 10) << "the walk went on after the request";
    EXPECT_NE(std::find(host.calls.begin(), host.calls.end(), "Shiwake.MoveFinish"),
              host.calls.end())
        << "the ledger's walk was left open";
    // Once stopped, a later pass ends at once, as does the overall bar.
    EXPECT_EQ(engine.SumOldRates(&totals.OldRateSum3, host.taxSettings), 0);
    engine.AdvanceBand(0, 250);
    EXPECT_EQ(view.overall, 0);
  }
}

}  // namespace
}  // namespace ltb::aggregate
