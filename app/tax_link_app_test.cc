#include "app/tax_link_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/testing/scripted_components.h"
#include "host/testing/fake_host.h"
#include "platform/testing/memory_env.h"

namespace ltb::app {
namespace {

using testing::Events;

class TaxLinkAppTest : public ::testing::Test {
 protected:
  TaxLinkAppTest() {
    env.programPath = "Z:\\opt\\ltb\\LedTaxBridgeA";
    env.cwd = "Z:\\home";
    env.files["Z:\\opt\\ltb\\ZenkitDef.ini"] = "[ProgramLevel]\nSY26=1\n";
    host.datasets = {ltb::testing::MakeDataset(1, "Sample", 20150401, 20160331)};
    host.taxSettings.SetU8(0, 2);
    components.dialog.result = {4, 3, "Z:\\out\\tax.xml", ui::kJournalAggregation};
  }

  int Run(const std::string& line) {
    TaxLinkApp app(host, env, seat, *EditionByLetter('B'), parent, components);
    const int code = app.Run(line);
    return code;
  }
  bool Saw(const std::string& e) const {
    return std::find(events.begin(), events.end(), e) != events.end();
  }
  // The host's calls after the last one named.
  std::vector<std::string> Tail(size_t n) const {
    return std::vector<std::string>(host.calls.end() - n, host.calls.end());
  }

  Events events;
  ltb::testing::FakeHost host;
  platform::testing::MemoryEnv env;
  testing::ScriptedSeat seat{&events};
  testing::ScriptedParent parent{&events};
  testing::ScriptedComponents components{&events};
};

const std::vector<std::string> kShutDown = {"LogOut", "Terminate", "Release"};

TEST_F(TaxLinkAppTest, StandAloneJournalRunFinishes) {
  EXPECT_EQ(Run(""), 0);
  EXPECT_EQ(host.appType, 3);
  EXPECT_EQ(env.cwd, "Z:\\opt\\ltb");
  EXPECT_TRUE(parent.posts.empty());
  EXPECT_FALSE(Saw("disable"));
  EXPECT_EQ(Tail(3), kShutDown);
  // Month positions 1..12 of an April period, plus the year-end closing.
  ASSERT_EQ(components.aggregation.condition.size(), 4u);
  EXPECT_EQ(components.aggregation.condition[1].Value(), 12);
  EXPECT_EQ(components.aggregation.condition[2].Value(), 18);
  EXPECT_EQ(components.aggregation.filingClass, 2);
  // The progress dialog is up before the checks that precede the aggregation.
  const Events expected = {"dialog",        "progress-show", "checks",         "band250",
                           "collect",       "band500",       "band750",        "corporate",
                           "individual",    "band1000",      "progress-close", "journal-report",
                           "save-settings", "message"};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(seat.texts.back(),
            "消費税情報の出力が終了しました。\n\nアプリケーションを終了します。");
  EXPECT_EQ(components.dialog.savedPath, "Z:\\out\\tax.xml");
  EXPECT_EQ(components.dialog.savedStart, 4);
  EXPECT_EQ(components.dialog.savedEnd, 3);
  EXPECT_EQ(components.report.input.outputPath, "Z:\\out\\tax.xml");
  EXPECT_EQ(components.dialog.input.companyText, " Sample");
  EXPECT_EQ(components.dialog.input.filingClassText, " 原則課税");
}

TEST_F(TaxLinkAppTest, ParentIsDisabledThenNotifiedWithSignExtendedParameter) {
  components.dialog.endCode = ui::kIdCancelButton;
  EXPECT_EQ(Run("4660,1025,-1,"), 1);
  EXPECT_EQ(events.front(), "disable");
  EXPECT_EQ(host.ownerWindow, 4660u);
  ASSERT_EQ(parent.posts.size(), 1u);
  EXPECT_EQ(parent.posts[0].window, 4660u);
  EXPECT_EQ(parent.posts[0].message, 1025u);
  EXPECT_EQ(static_cast<uint32_t>(parent.posts[0].wparam), 0xFFFFFFFFu);
  EXPECT_EQ(parent.posts[0].lparam, 1);
  const Events tail(events.end() - 4, events.end());
  EXPECT_EQ(tail, (Events{"foreground", "enable", "post", "enable"}));
  EXPECT_FALSE(components.dialog.saved);
}

TEST_F(TaxLinkAppTest, ParentPathIsFixedAndNotRemembered) {
  components.dialog.result.aggregationMode = ui::kTaxReturnValues;
  EXPECT_EQ(Run("1,2,3,Z:\\parent.xml"), 0);
  EXPECT_EQ(components.dialog.input.fixedOutputPath, "Z:\\parent.xml");
  EXPECT_TRUE(components.dialog.savedWithoutPath);
  EXPECT_EQ(components.dialog.savedMode, 1);
  EXPECT_TRUE(Saw("return-values-report"));
  EXPECT_FALSE(Saw("progress-show"));
  EXPECT_EQ(components.report.input.notifyWParam, 3);
  ASSERT_EQ(parent.posts.size(), 1u);
  EXPECT_EQ(parent.posts[0].lparam, 0);
}

TEST_F(TaxLinkAppTest, ShortCommandLineIsNoParent) {
  EXPECT_EQ(Run("4660,1025,1"), 0);
  EXPECT_TRUE(parent.posts.empty());
  EXPECT_FALSE(Saw("disable"));
  EXPECT_FALSE(components.dialog.savedWithoutPath);
}

TEST_F(TaxLinkAppTest, EarlyExits) {
  struct Case {
    const char* name;
    void (*setup)(ltb::testing::FakeHost&, platform::testing::MemoryEnv&);
    int exitCode;
    size_t dispMessages;
  };
  const Case cases[] = {
      // A connection that cannot be made is an error, never a success.
      {"initiate", [](auto& h, auto&) { h.initiateResult = 1; }, 2, 0},
      {"link refused", [](auto& h, auto&) { h.expSysLinkResult = 1; }, 1, 0},
      {"link error", [](auto& h, auto&) { h.expSysLinkResult = 5; }, 2, 0},
      {"no ini", [](auto&, auto& e) { e.files.clear(); }, 2, 1},
      {"old link",
       [](auto&, auto& e) { e.files["Z:\\opt\\ltb\\ZenkitDef.ini"] = "[ProgramLevel]\nSY26=2\n"; },
       2, 1},
      {"no tax settings", [](auto& h, auto&) { h.hasTaxSettingsSet = false; }, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    events.clear();
    host.Reset();
    host.datasets = {ltb::testing::MakeDataset(1, "S", 20150401, 20160331)};
    env.files = {{"Z:\\opt\\ltb\\ZenkitDef.ini", "[ProgramLevel]\nSY26=1\n"}};
    parent.posts.clear();
    seat.texts.clear();
    c.setup(host, env);
    EXPECT_EQ(Run("10,1025,2,"), c.exitCode);
    EXPECT_EQ(host.dispMessages.size(), c.dispMessages);
    EXPECT_TRUE(seat.texts.empty());
    EXPECT_EQ(Tail(3), kShutDown);
    EXPECT_FALSE(Saw("journal-report"));
    if (host.initiateResult != 0) {
      EXPECT_TRUE(parent.posts.empty());
      EXPECT_FALSE(Saw("disable"));
    } else {
      ASSERT_EQ(parent.posts.size(), 1u);
      EXPECT_EQ(parent.posts[0].lparam, c.exitCode);
      if (c.dispMessages) {
        EXPECT_EQ(host.dispOwner, 10u);
      }
    }
  }
}

TEST_F(TaxLinkAppTest, SixthBusinessTypeIsRefusedBeforeApril2015UnderSimplifiedTaxation) {
  host.taxSettings.SetU8(0, 1);
  host.periodStart = 20140401;
  host.periodEnd = 20150331;
  components.aggregation.sixthCount = 1;
  components.dialog.result.startMonth = 3;  // 2015-03-01
  EXPECT_EQ(Run(""), 1);
  ASSERT_EQ(seat.texts.size(), 1u);
  EXPECT_NE(seat.texts[0].find("Ledora１７ Vantage の以下の機能"), std::string::npos);
  EXPECT_EQ(seat.flags[0], ui::kMbIconWarning);
  // The aggregation never starts; the progress dialog shown for the checks
  // is closed.
  EXPECT_FALSE(Saw("band250"));
  EXPECT_EQ(events.back(), "progress-close");
}

TEST_F(TaxLinkAppTest, SixthBusinessTypePassesFromApril2015OrUnderPrincipleTaxation) {
  components.aggregation.sixthCount = 1;
  host.taxSettings.SetU8(0, 1);
  components.dialog.result.startMonth = 4;  // 2015-04-01 itself passes
  EXPECT_EQ(Run(""), 0);

  events.clear();
  host.taxSettings.SetU8(0, 2);
  host.periodStart = 20140401;
  EXPECT_EQ(Run(""), 0);
}

TEST_F(TaxLinkAppTest, HostChecksAndNotes) {
  components.aggregation.tenPercent = 8;
  EXPECT_EQ(Run(""), 1);
  EXPECT_NE(seat.texts[0].find("10%"), std::string::npos);

  components.aggregation.tenPercent = 0;
  components.aggregation.sixthCode = 77;
  host.fatalCodes = {77};
  EXPECT_EQ(Run(""), 2);

  components.aggregation.sixthCode = 0;
  components.aggregation.tenPercentCode = 77;
  EXPECT_EQ(Run(""), 2);

  // The import-category note does not stop the run.
  components.aggregation.tenPercentCode = 0;
  components.aggregation.importEntries = 1;
  seat.texts.clear();
  seat.flags.clear();
  EXPECT_EQ(Run(""), 0);
  ASSERT_EQ(seat.texts.size(), 2u);
  EXPECT_EQ(seat.flags[0], ui::kMbIconInformation);
}

TEST_F(TaxLinkAppTest, OverflowAndDeclinedReportAreErrors) {
  components.aggregation.overflow = true;
  EXPECT_EQ(Run(""), 2);
  EXPECT_FALSE(Saw("journal-report"));
  EXPECT_FALSE(components.dialog.saved);
  ASSERT_EQ(seat.texts.size(), 1u);

  components.aggregation.overflow = false;
  components.report.journalResult = false;
  seat.texts.clear();
  EXPECT_EQ(Run(""), 2);
  EXPECT_FALSE(components.dialog.saved);
  EXPECT_TRUE(seat.texts.empty());

  components.dialog.result.aggregationMode = ui::kTaxReturnValues;
  components.report.returnValuesResult = 0;
  EXPECT_EQ(Run(""), 2);
  EXPECT_FALSE(components.dialog.saved);
}

// An allocation that fails anywhere in the run ends it like any other
// error: a message, status 2, nothing remembered, and the host and the
// parent are still shut down and told.
TEST_F(TaxLinkAppTest, RunningOutOfMemoryEndsTheRunWithAnError) {
  components.report.outOfMemory = true;
  EXPECT_EQ(Run("4660,1025,3,Z:\\p\\out.xml"), 2);
  EXPECT_FALSE(components.dialog.saved);
  ASSERT_EQ(seat.texts.size(), 1u);
  EXPECT_EQ(seat.texts[0],
            "メモリが不足したため、処理を中止しました。\n\n消費税情報は出力されません。");
  EXPECT_EQ(Tail(3), kShutDown);
  ASSERT_EQ(parent.posts.size(), 1u);
  EXPECT_EQ(parent.posts[0].lparam, 2);
}

// The person stops the run in the progress dialog, during the checks (also
// when the host call of a check gave up on the stop) or between passes: it
// ends as a cancelled dialog does, with the cancel notice and status 1,
// nothing written, nothing remembered, the parent told, and the host keeps
// no stop check that outlives the run.
TEST_F(TaxLinkAppTest, StoppingTheProgressDialogEndsTheRunAsCancelled) {
  struct Case {
    const char* after;
    long checkCode;
  };
  host.fatalCodes.push_back(host::kStoppedByRequest);  // as the ledger judges it
  for (const Case c :
       {Case{"checks", 0}, Case{"checks", host::kStoppedByRequest}, Case{"band250", 0},
        Case{"collect", 0}, Case{"corporate", 0}, Case{"band1000", 0}}) {
    SCOPED_TRACE(std::string(c.after) + " " + std::to_string(c.checkCode));
    events.clear();
    seat.texts.clear();
    parent.posts.clear();
    components.dialog.saved = false;
    components.aggregation.cancelAfter = c.after;
    components.aggregation.sixthCode = c.checkCode;
    EXPECT_EQ(Run("4660,1025,3,Z:\\p\\out.xml"), 1);
    EXPECT_FALSE(host.stopCheck);
    EXPECT_FALSE(Saw("journal-report"));
    EXPECT_FALSE(components.dialog.saved);
    EXPECT_TRUE(Saw("progress-close"));
    ASSERT_EQ(seat.texts.size(), 1u);
    EXPECT_EQ(seat.texts[0], "｢消費税｣の集計を中止します。");
    ASSERT_EQ(parent.posts.size(), 1u);
    EXPECT_EQ(parent.posts[0].lparam, 1);
  }
}

}  // namespace
}  // namespace ltb::app
