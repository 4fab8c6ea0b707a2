#include "tools/bench/ledger_generator.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "ledger/journal_insert.h"
#include "ledger/ledger_db.h"
#include "ledger/ledger_file_mgr.h"
#include "ledger/sql_statement.h"

namespace ltb::bench {
namespace {

using ledger::JournalSideRow;
using ledger::LedgerDb;
using ledger::SqlStatement;

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }
const char* C8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// ---- Chart of accounts ---------------------------------------------------------

struct AccountDef {
  int code;
  const char8_t* name;
  uint32_t classCode;
  int side, summary;
};

// Balance-sheet accounts, sales and the purchase and expense accounts with
// the classification codes the refund statement sums.
constexpr AccountDef kAccounts[] = {
    {111, u8"現金", 0x01010100, 1, 0},
    {131, u8"普通預金", 0x01010200, 1, 0},
    {132, u8"当座預金", 0x01010200, 1, 0},
    {135, u8"売掛金", 0x01010400, 1, 0},
    {140, u8"商品", 0x01010500, 1, 0},
    {150, u8"建物", 0x01020100, 1, 0},
    {155, u8"車両運搬具", 0x01020200, 1, 0},
    {156, u8"工具器具備品", 0x01020200, 1, 0},
    {160, u8"開業費", 0x01030100, 1, 0},
    {180, u8"仮払消費税", 0x01010800, 1, 0},
    {211, u8"買掛金", 0x02010100, 2, 0},
    {212, u8"未払金", 0x02010200, 2, 0},
    {280, u8"仮受消費税", 0x02010800, 2, 0},
    {411, u8"売上高", 0x40100000, 2, 0},
    {412, u8"役務収益", 0x40100000, 2, 0},
    {420, u8"受取利息", 0x40200000, 2, 0},
    {430, u8"雑収入", 0x40200010, 2, 0},
    {500, u8"売上原価", 0x40884400, 1, 1},
    {511, u8"仕入高", 0x20400000, 1, 0},
    {512, u8"仕入値引戻し高", 0x20400008, 1, 0},
    {513, u8"仕入割戻し高", 0x20400004, 1, 0},
    {514, u8"外注加工費", 0x20200000, 1, 0},
    {515, u8"材料仕入高", 0x20804000, 1, 0},
    {520, u8"期首商品棚卸高", 0x40888000, 1, 0},
    {600, u8"販売費及び一般管理費", 0x40882000, 1, 1},
    {611, u8"旅費交通費", 0x40882040, 1, 0},
    {612, u8"通信費", 0x40882020, 1, 0},
    {613, u8"給料手当", 0x40882010, 1, 0},
    {614, u8"支払手数料", 0x40882008, 1, 0},
    {615, u8"貸倒損失", 0x40882004, 1, 0},
    {616, u8"雑費", 0x40848000, 1, 0},
    {617, u8"広告宣伝費", 0x40882040, 1, 0},
    {618, u8"消耗品費", 0x40882020, 1, 0},
    {620, u8"地代家賃", 0x40882008, 1, 0},
    {700, u8"営業外費用", 0x40844000, 1, 1},
    {711, u8"支払利息", 0x40844000, 1, 0},
    {712, u8"雑損失", 0x40844080, 1, 0},
    {800, u8"特別損失", 0x40440000, 1, 1},
    {811, u8"固定資産売却損", 0x40440040, 1, 0},
    {812, u8"災害損失", 0x40440080, 1, 0},
};

// ---- Dates --------------------------------------------------------------------

// Days of the months of the fiscal year April 2016 to March 2017.
constexpr int kMonthDays[12] = {30, 31, 30, 31, 31, 30, 31, 30, 31, 31, 28, 31};
constexpr int kYearDays = 365;

// The date and month position of day `day` (0-based) of the fiscal year.
void DayToDate(int day, long* date, int* position) {
  int m = 0;
  while (m < 11 && day >= kMonthDays[m]) day -= kMonthDays[m++];
  int month = 4 + m, year = 2016;
  if (month > 12) {
    month -= 12;
    ++year;
  }
  *date = year * 10000L + month * 100L + (day + 1);
  *position = m + 1;
}

// ---- Sides ----------------------------------------------------------------------

bool CarriesTax(int category) {
  return (category >= 1 && category <= 2) || (category >= 9 && category <= 10) ||
         (category >= 21 && category <= 23) || (category >= 25 && category <= 29);
}

JournalSideRow Taxed(int account, int64_t yen, int category, int rate, int btype, int dept) {
  // Out-of-scope and non-taxable purchases carry no rate.
  const bool rated = category != 0 && category != 20 && category != 24;
  int64_t taxYen = CarriesTax(category) ? yen * rate / 10000 : 0;
  return {account, dept, yen * 10000, taxYen * 10000, category, rated ? rate : 0, btype};
}

JournalSideRow Plain(int account, int64_t amount, int dept) {
  return {account, dept, amount, 0, 0, 0, 0};
}

// The counter side of `s`: its tax-included amount, no category.
JournalSideRow CounterOf(int account, const JournalSideRow& s) {
  return Plain(account, s.amount + s.tax, s.department);
}

}  // namespace

bool IsGeneratedAccount(int code) {
  for (const AccountDef& a : kAccounts) {
    if (a.code == code) return true;
  }
  return false;
}

// ---- Entries ------------------------------------------------------------------------

EntryGenerator::EntryGenerator(const LedgerShape& shape)
    : shape_(shape), state_(shape.seed ^ 0x9E3779B97F4A7C15ull) {
  long closing = shape.entries / 2000;
  if (closing < 1 && shape.entries > 0) closing = 1;
  closingFrom_ = shape.entries - closing;
}

// splitmix64: small, fast and the same on every machine.
uint64_t EntryGenerator::Random() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int64_t EntryGenerator::Uniform(int64_t lo, int64_t hi) {
  return lo + static_cast<int64_t>(Random() % static_cast<uint64_t>(hi - lo + 1));
}

bool EntryGenerator::Next(GeneratedEntry* e) {
  if (produced_ >= shape_.entries) return false;
  *e = GeneratedEntry{};
  e->entryNo = produced_ + 1;
  if (produced_ >= closingFrom_) {
    e->closing = true;
    e->date = kGeneratedPeriodEnd;
    e->slot = 18;
  } else {
    int day = static_cast<int>(produced_ * kYearDays / (closingFrom_ > 0 ? closingFrom_ : 1));
    DayToDate(day, &e->date, &e->slot);
  }
  Fill(e);
  ++produced_;
  return true;
}

void EntryGenerator::Fill(GeneratedEntry* e) {
  const int dept = shape_.departments > 0 ? static_cast<int>(Uniform(1, shape_.departments)) : 0;
  // Mostly the standard rate; contracts from before the change keep 5% or 3%.
  const int pick = static_cast<int>(Uniform(0, 99));
  const int rate = pick < 90 ? 800 : pick < 97 ? 500 : 300;
  const int btype = static_cast<int>(Uniform(1, 5));
  const int64_t yen = Uniform(1, 400) * Uniform(100, 2500);
  const int kind = static_cast<int>(Uniform(0, 99));

  auto credit = [&](int counter, JournalSideRow taxed, const char8_t* text) {
    e->debit = CounterOf(counter, taxed);
    e->credit = taxed;
    e->description = C8(text);
  };
  auto debit = [&](JournalSideRow taxed, int counter, const char8_t* text) {
    e->debit = taxed;
    e->credit = CounterOf(counter, taxed);
    e->description = C8(text);
  };

  if (kind < 26) {
    credit(135, Taxed(kind < 20 ? 411 : 412, yen, 1, rate, btype, dept), u8"売上");
  } else if (kind < 29) {
    debit(Taxed(411, yen / 10 + 1, 2, rate, btype, dept), 135, u8"売上返品");
  } else if (kind < 31) {
    credit(135, Taxed(411, yen, 3, rate, 0, dept), u8"輸出売上");
  } else if (kind < 32) {
    credit(131, Taxed(420, yen / 100 + 1, 5, rate, 0, dept), u8"受取利息");
  } else if (kind < 33) {
    credit(131, Taxed(430, yen, Uniform(0, 1) ? 7 : 8, rate, 0, dept), u8"非課税売上");
  } else if (kind < 50) {
    static constexpr int kPurchase[] = {511, 511, 511, 514, 515};
    debit(Taxed(kPurchase[kind % 5], yen, 21, rate, 0, dept), 211, u8"仕入");
  } else if (kind < 53) {
    static constexpr int kReturns[] = {512, 513};
    credit(211, Taxed(kReturns[kind % 2], yen / 20 + 1, 25 + kind % 3, rate, 0, dept),
           u8"仕入値引");
  } else if (kind < 70) {
    static constexpr int kExpense[] = {611, 612, 614, 616, 617, 618, 620};
    static constexpr int kCategory[] = {21, 22, 23, 23, 24, 21, 20};
    debit(Taxed(kExpense[kind % 7], yen / 5 + 1, kCategory[(kind / 7 + kind) % 7], rate, 0, dept),
          kind % 3 ? 131 : 111, u8"経費");
  } else if (kind < 74) {
    debit(Taxed(kind % 2 ? 711 : 712, yen / 10 + 1, kind % 2 ? 24 : 21, rate, 0, dept), 131,
          u8"営業外費用");
  } else if (kind < 76) {
    debit(Taxed(kind % 2 ? 811 : 812, yen, 23, rate, 0, dept), 131, u8"特別損失");
  } else if (kind < 84) {
    e->debit = {613, dept, yen * 10000, 0, 20, 0, 0};
    e->credit = Plain(131, yen * 10000, dept);
    e->description = C8(u8"給与");
  } else if (kind < 94) {
    e->debit = Plain(kind % 2 ? 131 : 211, yen * 10000, 0);
    e->credit = Plain(kind % 2 ? 135 : 131, yen * 10000, 0);
    e->description = C8(u8"入金・支払");
  } else if (kind < 95) {
    debit(Taxed(615, yen, 9, rate, 0, dept), 135, u8"貸倒れ");
  } else if (kind < 96) {
    credit(131, Taxed(430, yen / 10 + 1, 10, rate, 0, dept), u8"貸倒債権の回収");
  } else if (kind < 98) {
    // Import consumption tax: the customs value and the tax paid on it.
    const int category = static_cast<int>(Uniform(41, 44));
    e->debit = {180, dept, yen * 10000, yen * 63, category, 800, 0};
    e->credit = CounterOf(131, e->debit);
    e->description = C8(u8"輸入消費税");
  } else {
    debit(Taxed(kind % 2 ? 150 : 156, yen * 5, kind % 2 ? 28 : 29, rate, 0, dept), 212,
          u8"固定資産の購入");
  }
  // One entry in four books its credit side to no department or another one.
  if (Uniform(0, 3) == 0) {
    e->credit.department = shape_.departments > 1 ? (dept % shape_.departments) + 1 : 0;
    if (Uniform(0, 1) == 0) e->credit.department = 0;
  }
}

// ---- Writing ----------------------------------------------------------------------

namespace {

bool WriteMasters(LedgerDb& db, const LedgerShape& shape, std::string* error) {
  ledger::DatasetRow ds;
  ds.no = kGeneratedDatasetNo;
  ds.dataId = kGeneratedDataId;
  ds.companyName = U8(u8"株式会社ベンチマーク商事");
  ds.periodStart = kGeneratedPeriodStart;
  ds.periodEnd = kGeneratedPeriodEnd;
  ds.filingClass = 2;
  ds.deductionMethod = 0;
  if (!ledger::AddDataset(db, ds, error)) return false;
  for (const AccountDef& a : kAccounts) {
    ledger::AccountRecordRow row;
    row.code = a.code;
    row.codeText = std::to_string(a.code);
    row.name = U8(a.name);
    row.classCode = static_cast<int32_t>(a.classCode);
    row.balanceSide = a.side;
    row.summaryLine = a.summary;
    if (!ledger::AddAccount(db, ds.no, row, error)) return false;
  }
  for (int d = 1; d <= shape.departments; ++d) {
    ledger::DepartmentRecordRow row;
    row.code = d;
    row.name = U8(u8"部門") + std::to_string(d);
    row.kind = 1;
    row.linkField = d;
    if (!ledger::AddDepartment(db, ds.no, row, error)) return false;
  }
  host::StSaveTaxInfo saved;
  saved.SetU8(host::StSaveTaxInfo::kTaxationCodeOff, 1);
  saved.SetU8(host::StSaveTaxInfo::kDeductionCodeOff, 1);
  saved.SetU8(host::StSaveTaxInfo::kInterimCodeOff, 1);
  for (size_t off : {host::StSaveTaxInfo::kPeriodStartOff, host::StSaveTaxInfo::kReportFromOff,
                     host::StSaveTaxInfo::kRangeStartOff}) {
    saved.SetI32(off, static_cast<int32_t>(kGeneratedPeriodStart));
  }
  for (size_t off : {host::StSaveTaxInfo::kPeriodEndOff, host::StSaveTaxInfo::kReportToOff,
                     host::StSaveTaxInfo::kRangeEndOff}) {
    saved.SetI32(off, static_cast<int32_t>(kGeneratedPeriodEnd));
  }
  return ledger::SetSavedTaxReturn(db, ds.no, saved, error) &&
         ledger::AddUser(db, kGeneratedUser, ds.no, error) &&
         ledger::SetSetting(db, "package_name", U8(u8"Ledora 会計"), error) &&
         ledger::SetSetting(db, "link_answer", "0", error) &&
         ledger::SetSetting(db, "default_user", kGeneratedUser, error);
}

bool Failed(const SqlStatement& q, const char* what, std::string* error) {
  *error = std::string(what) + ": " + q.error();
  return false;
}

// The journal through one prepared statement, bound and stepped per row.
bool WriteJournal(LedgerDb& db, const LedgerShape& shape, std::string* error) {
  ledger::JournalInsert insert(db);
  if (!insert.ok()) {
    *error = "cannot prepare the journal insert: " + insert.error();
    return false;
  }
  EntryGenerator generator(shape);
  GeneratedEntry e;
  while (generator.Next(&e)) {
    if (!insert.Add(kGeneratedDatasetNo, e.entryNo, e.date, e.slot, e.closing, e.description,
                    e.debit, e.credit)) {
      *error = "journal entry refused: " + insert.error();
      return false;
    }
  }
  return true;
}

bool WriteAssets(LedgerDb& db, const LedgerShape& shape, std::string* error) {
  SqlStatement q(db.handle(),
                 "INSERT INTO fixed_assets (dataset, asset_no, name, acquired, kind, amount,"
                 " income_type) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 1)");
  if (!q.ok()) return Failed(q, "cannot prepare the asset insert", error);
  uint64_t state = shape.seed * 0x2545F4914F6CDD1Dull + 1;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  const std::string name = U8(u8"器具備品");
  for (int n = 1; n <= shape.fixedAssets; ++n) {
    // Three in ten were acquired in an earlier year.
    long date = 0;
    int position = 0;
    DayToDate(static_cast<int>(next() % kYearDays), &date, &position);
    if (next() % 10 < 3) date -= 10000 * static_cast<long>(1 + next() % 5);
    if (date % 10000 == 229) date -= 1;  // no 29 February in an earlier year
    const int kind = next() % 20 == 0 ? 9 : 1;
    const int64_t amount = static_cast<int64_t>(100000 + next() % 4900000) * 10000;
    q.Reset();
    q.Bind(1, kGeneratedDatasetNo)
        .Bind(2, n)
        .BindText(3, name)
        .Bind(4, date)
        .Bind(5, kind)
        .Bind(6, amount);
    if (!q.Run()) return Failed(q, "fixed asset refused", error);
  }
  return true;
}

}  // namespace

bool GenerateLedger(const std::string& home, const LedgerShape& shape, std::string* error) {
  if (shape.entries < 0 || shape.departments < 0 || shape.fixedAssets < 0) {
    *error = "the entry, department and asset counts must not be negative";
    return false;
  }
  const std::string tempHome = home + "/.generating";
  if (!ledger::MakeFolders(tempHome)) {
    *error = "cannot create the folder " + tempHome;
    return false;
  }
  const std::string built = ledger::LedgerFilePath(tempHome);
  ::unlink(built.c_str());
  bool written = false;
  {
    std::unique_ptr<LedgerDb> db = LedgerDb::Open(tempHome, LedgerDb::Mode::kCreate, error);
    // The file is renamed into place only when complete, so it need not
    // survive a crash half-way: no syncing while it is written.
    if (db && db->Exec("PRAGMA synchronous = OFF", error)) {
      ledger::WriteTransaction tx(*db);
      written = tx.ok() && WriteMasters(*db, shape, error) && WriteJournal(*db, shape, error) &&
                WriteAssets(*db, shape, error) && tx.Commit(error);
    }
  }
  if (written && std::rename(built.c_str(), ledger::LedgerFilePath(home).c_str()) != 0) {
    *error = "cannot move the generated ledger into " + home;
    written = false;
  }
  ::unlink(built.c_str());
  ::rmdir(tempHome.c_str());
  return written;
}

}  // namespace ltb::bench
