#include "ledger/ledger_host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "ledger/ledger_db.h"
#include "ledger/ledger_writer.h"
#include "ledger/testing/temp_home.h"
#include "platform/cp932.h"
#include "platform/win_path.h"

namespace ltb::ledger {
namespace {

struct Shown {
  std::string text, caption;
  unsigned flags;
};

class LedgerHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(temp_.path().empty());
    process_.home = temp_.path();
    process_.xdgDataHome = temp_.Sub("data");
  }

  // Options for the ledger in `home` under the fixture's process settings.
  LedgerOptions Options(const std::string& home, const std::string& user = "", int dataset = 0) {
    LedgerOptions options{home, user, dataset};
    options.process = process_;
    return options;
  }

  std::unique_ptr<host::HostLibrary> Host(const std::string& home, const std::string& user = "") {
    auto host = OpenLedgerHost(Options(home, user));
    host->SetMessageSink(
        [this](host::WindowHandle, const char* text, const char* caption, unsigned flags) {
          shown_.push_back({text, caption, flags});
          return 1;
        });
    host->AccConnect().SetCaption("caption");
    return host;
  }

  std::string SampleHome() {
    std::string home = temp_.Sub("ledger");
    std::string error;
    EXPECT_TRUE(CreateSampleLedger(home, &error)) << error;
    return home;
  }

  void Set(const std::string& home, const std::string& key, const std::string& value) {
    std::string error;
    auto db = LedgerDb::Open(home, LedgerDb::Mode::kReadWrite, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(SetSetting(*db, key, value, &error)) << error;
  }

  TempHome temp_;
  platform::ProcessSettings process_;
  std::vector<Shown> shown_;
};

TEST_F(LedgerHostTest, InitiateRefusesUnusableLedgersNamingTheFile) {
  // Missing home.
  std::string missing = temp_.Sub("nowhere");
  auto host = Host(missing);
  EXPECT_NE(host->AccConnect().Initiate(), 0);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_NE(shown_[0].text.find(missing + "/ledger.db"), std::string::npos) << shown_[0].text;
  EXPECT_EQ(shown_[0].caption, "caption");
  EXPECT_NE(host->AccConnect().ExpSysLink(), 0);

  // A file that is not a database.
  std::string junk = temp_.Sub("junk");
  std::filesystem::create_directory(junk);
  std::ofstream(junk + "/ledger.db") << std::string(4096, 'x');
  shown_.clear();
  EXPECT_NE(Host(junk)->AccConnect().Initiate(), 0);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_NE(shown_[0].text.find(junk + "/ledger.db"), std::string::npos);
  EXPECT_NE(shown_[0].text.find("not a ledger database"), std::string::npos) << shown_[0].text;

  // A ledger of another schema version.
  std::string old = temp_.Sub("old");
  std::string error;
  {
    auto db = LedgerDb::Open(old, LedgerDb::Mode::kCreate, &error);
    ASSERT_FALSE(db) << "no folder yet";
    std::filesystem::create_directory(old);
    db = LedgerDb::Open(old, LedgerDb::Mode::kCreate, &error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(db->Exec("UPDATE meta SET value = '99' WHERE key = 'schema_version'", &error));
  }
  shown_.clear();
  EXPECT_NE(Host(old)->AccConnect().Initiate(), 0);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_NE(shown_[0].text.find(old + "/ledger.db"), std::string::npos);
  EXPECT_NE(shown_[0].text.find("schema version 99"), std::string::npos) << shown_[0].text;
}

TEST_F(LedgerHostTest, DefaultRunCreatesSampleAndSelectsUserDataset) {
  auto host = Host("");
  ASSERT_EQ(host->AccConnect().Initiate(), 0);
  EXPECT_TRUE(shown_.empty());
  EXPECT_TRUE(std::filesystem::exists(temp_.Sub("data/ledtaxbridge/sample/ledger.db")));

  char user[65];
  ASSERT_EQ(host->DataMgr().GetSysUserObject()->GetCurUserID(user), 0);
  EXPECT_STREQ(user, "user01");
  long first = 0, second = 0;
  ASSERT_EQ(host->DataMgr().GetSysUserObject()->GetSelectedNo(user, &first, &second), 0);
  EXPECT_EQ(second, 1);

  host::ClSetData* data = host::DataSet(host->DataMgr());
  ASSERT_NE(data, nullptr);
  const host::StDATAINFO* info = data->GetSelectedInfo();
  EXPECT_EQ(info->DataId(), "SAMPLE01");
  EXPECT_EQ(info->PeriodStart(), 20160401);
  EXPECT_EQ(info->PeriodEnd(), 20170331);
  std::string company;
  ASSERT_TRUE(
      platform::Utf8ToCp932(reinterpret_cast<const char*>(u8"株式会社サンプル商事"), &company));
  EXPECT_EQ(info->CompanyName(), company);

  host::Cursor cursor = 0;
  ASSERT_EQ(data->GetDatCursor(&cursor), 0);
  ASSERT_EQ(data->ReadyDat(cursor, 0), 0);
  host::StDATAINFO walked;
  std::vector<int> numbers;
  long rc;
  while ((rc = data->WalkDat(&walked, cursor)) == 0) numbers.push_back(walked.DatasetNo());
  EXPECT_EQ(rc, host::kEndOfData);
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(data->ReleaseDatCursor(cursor), 0);
  EXPECT_NE(data->ReleaseDatCursor(cursor), 0);

  host::ClSetShohizei* tax = host::TaxSettingsSet(host->DataMgr());
  ASSERT_NE(tax, nullptr);
  tax->SetCurDataID("SAMPLE02");
  host::StSHOHIZEIINFO settings;
  ASSERT_EQ(tax->Get(&settings), 0);
  EXPECT_EQ(settings.FilingClass(), 1);
  EXPECT_EQ(settings.MainBusinessType(), 3);
  EXPECT_EQ(tax->GetTaxRateCount(), 3);
  tax->SetCurDataID("NOSUCH");
  EXPECT_NE(tax->Get(&settings), 0);

  EXPECT_NE(host::AccountSet(host->DataMgr()), nullptr);
  EXPECT_NE(host->NewRuleShiwake(), nullptr);
}

TEST_F(LedgerHostTest, UserSelectionFromOptionsAndEnvironment) {
  std::string home = SampleHome();
  auto byOption = Host(home, "user02");
  ASSERT_EQ(byOption->AccConnect().Initiate(), 0);
  EXPECT_EQ(host::DataSet(byOption->DataMgr())->GetSelectedInfo()->DatasetNo(), 3);
  EXPECT_EQ(host::DataSet(byOption->DataMgr())->GetSelectedInfo()->EntityKind(), 3);

  process_.ledgerUser = "user02";  // $LEDORA_USER
  auto byEnv = Host(home);
  ASSERT_EQ(byEnv->AccConnect().Initiate(), 0);
  EXPECT_EQ(host::DataSet(byEnv->DataMgr())->GetSelectedInfo()->DatasetNo(), 3);

  auto unknown = Host(home, "nobody");
  EXPECT_NE(unknown->AccConnect().Initiate(), 0);
  ASSERT_FALSE(shown_.empty());
  EXPECT_NE(shown_.back().text.find("nobody"), std::string::npos);
  // Nothing of the failed connection stays usable.
  EXPECT_EQ(host::DataSet(unknown->DataMgr())->GetSelectedInfo()->DatasetNo(), 0);
  EXPECT_EQ(unknown->NewRuleShiwake(), nullptr);
}

TEST_F(LedgerHostTest, DatasetChosenForTheRunLeavesTheLedgersSelectionAlone) {
  std::string home = SampleHome();
  for (int no : {2, 3}) {
    auto host = OpenLedgerHost(Options(home, "user01", no));
    ASSERT_EQ(host->AccConnect().Initiate(), 0);
    EXPECT_EQ(host::DataSet(host->DataMgr())->GetSelectedInfo()->DatasetNo(), no);
    long first = 0, second = 0;
    ASSERT_EQ(host->DataMgr().GetSysUserObject()->GetSelectedNo("user01", &first, &second), 0);
    EXPECT_EQ(second, no);
  }
  auto plain = Host(home);
  ASSERT_EQ(plain->AccConnect().Initiate(), 0);
  EXPECT_EQ(host::DataSet(plain->DataMgr())->GetSelectedInfo()->DatasetNo(), 1);

  auto missing = OpenLedgerHost(Options(home, "", 9));
  missing->SetMessageSink(
      [this](host::WindowHandle, const char* text, const char* caption, unsigned flags) {
        shown_.push_back({text, caption, flags});
        return 1;
      });
  EXPECT_NE(missing->AccConnect().Initiate(), 0);
  ASSERT_FALSE(shown_.empty());
  EXPECT_NE(shown_.back().text.find("no dataset 9"), std::string::npos);
}

TEST_F(LedgerHostTest, LinkAnswerIsALedgerProperty) {
  std::string home = SampleHome();
  for (const char* answer : {"0", "1", "5"}) {
    Set(home, "link_answer", answer);
    auto host = Host(home);
    ASSERT_EQ(host->AccConnect().Initiate(), 0);
    EXPECT_EQ(host->AccConnect().ExpSysLink(), std::atol(answer));
  }
}

TEST_F(LedgerHostTest, DispMsgReplacesEveryPackageToken) {
  std::string home = SampleHome();
  Set(home, "package_name", "Books");
  auto host = Host(home);
  ASSERT_EQ(host->AccConnect().Initiate(), 0);
  host->AccConnect().DispMsg(7, "ES_APRPACKAGENAME and ES_APRPACKAGENAME.", "cap", 0x30);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text, "Books and Books.");
  EXPECT_EQ(shown_[0].caption, "cap");
  EXPECT_EQ(shown_[0].flags, 0x30u);
  // 0x83 0x45 is one double-byte character: the 'E' is its second byte and
  // does not start a token.
  const char tricky[] =
      "\x83"
      "ES_APRPACKAGENAME";
  host->AccConnect().DispMsg(0, tricky, "cap", 0);
  EXPECT_EQ(shown_[1].text, tricky);
}

TEST_F(LedgerHostTest, FatalCodesAndTheirMessage) {
  std::string home = SampleHome();
  Set(home, "nonfatal_codes", "7, 2003");
  auto host = Host(home);
  ASSERT_EQ(host->AccConnect().Initiate(), 0);
  host::ClMsgMgr& msg = host->MsgMgr();
  EXPECT_EQ(msg.CheckFatalErrorWithMsg(0, -1, 1, 0), 0);
  EXPECT_EQ(msg.CheckFatalErrorWithMsg(host::kEndOfData, -1, 1, 0), 0);
  EXPECT_EQ(msg.CheckFatalErrorWithMsg(7, -1, 1, 0), 0);
  EXPECT_TRUE(shown_.empty());
  EXPECT_EQ(msg.SetLastError(-1001, "AddTax", 3772), -1001);
  EXPECT_NE(msg.CheckFatalErrorWithMsg(-1001, -1, 1, 0), 0);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text.rfind("AddTax 3772: the ledger reported error -1001", 0), 0u)
      << shown_[0].text;
  EXPECT_NE(msg.CheckFatalErrorWithMsg(8, -1, 0, 0), 0);  // not shown when show is 0
  EXPECT_EQ(shown_.size(), 1u);
}

TEST_F(LedgerHostTest, AppFoldersDefaultUnderHomeOrFromSettings) {
  std::string home = SampleHome();
  auto host = Host(home);
  ASSERT_EQ(host->AccConnect().Initiate(), 0);
  std::string output = host->FileMgr().GetAppFolderPath(host::kFolderOutput);
  std::string expected;
  ASSERT_TRUE(platform::DriveTable().ToWindows(temp_.Sub("Documents/LedTaxBridge"), &expected));
  EXPECT_EQ(output, expected + "\\");
  EXPECT_TRUE(std::filesystem::is_directory(temp_.Sub("Documents/LedTaxBridge")));
  std::string settings = host->FileMgr().GetAppFolderPath(host::kFolderSettings);
  EXPECT_EQ(settings.back(), '\\');
  EXPECT_NE(settings.find("ledtaxbridge"), std::string::npos);
  EXPECT_EQ(host->FileMgr().GetAppFolderPath(5), "");

  Set(home, "folder_output", "C:\\Reports");
  auto configured = Host(home);
  ASSERT_EQ(configured->AccConnect().Initiate(), 0);
  EXPECT_EQ(configured->FileMgr().GetAppFolderPath(host::kFolderOutput), "C:\\Reports\\");
}

TEST_F(LedgerHostTest, SavedTaxReturnValuesFitTheirDataset) {
  std::string home = SampleHome();
  auto host = Host(home);
  ASSERT_EQ(host->AccConnect().Initiate(), 0);
  struct Expect {
    const char* id;
    uint8_t taxation, deduction, interim;
  };
  for (Expect e :
       {Expect{"SAMPLE01", 1, 1, 2}, Expect{"SAMPLE02", 2, 1, 1}, Expect{"SAMPLE03", 1, 2, 1}}) {
    auto store = host->NewSaveTaxShiryo();
    store->SetCurDataID(e.id);
    ASSERT_EQ(store->RefreshCache(), 0);
    host::StSaveTaxInfo info;
    ASSERT_EQ(store->GetTaxSaveInfo(&info), 0);
    EXPECT_EQ(info.I32(host::StSaveTaxInfo::kPeriodStartOff), 20160401) << e.id;
    EXPECT_EQ(info.I32(host::StSaveTaxInfo::kPeriodEndOff), 20170331) << e.id;
    EXPECT_EQ(info.U8(host::StSaveTaxInfo::kTaxationCodeOff), e.taxation) << e.id;
    EXPECT_EQ(info.U8(host::StSaveTaxInfo::kDeductionCodeOff), e.deduction) << e.id;
    EXPECT_EQ(info.U8(host::StSaveTaxInfo::kInterimCodeOff), e.interim) << e.id;
    EXPECT_GT(info.I64(12515), 0) << e.id;  // taxable sales at 8%, tax excluded
  }
  auto none = host->NewSaveTaxShiryo();
  none->SetCurDataID("NOSUCH");
  EXPECT_NE(none->RefreshCache(), 0);
}

TEST_F(LedgerHostTest, TooltipsReachTheOwner) {
  struct Owner : host::ToolTipOwner {
    void AddToolTip(uint32_t id, const char* text) override { got.emplace_back(id, text); }
    std::vector<std::pair<uint32_t, std::string>> got;
  } owner;
  host::TOOLTIPMSG_TABLE table[] = {{1001, "one", 1}, {1002, "two", 1}};
  OpenLedgerHost(Options(""))->NewToolTipMgr()->Init(&owner, table, 2);
  ASSERT_EQ(owner.got.size(), 2u);
  EXPECT_EQ(owner.got[1].first, 1002u);
  EXPECT_EQ(owner.got[1].second, "two");
}

}  // namespace
}  // namespace ltb::ledger
