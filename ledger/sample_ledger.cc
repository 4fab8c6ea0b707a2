// The built-in sample ledger: three datasets of the fiscal year 1 April 2016
// to 31 March 2017, written deterministically.
//
//   1 SAMPLE01  a corporation under principle taxation (interim closing)
//   2 SAMPLE02  a corporation under simplified taxation, sales in business
//               types 1 to 5
//   3 SAMPLE03  an individual with business and real-estate income kept by
//               department, principle taxation, lump-sum deduction
//
// Users: user01 (dataset 1, the default) and user02 (dataset 3).
// The entries use every tax category of ledger/tax_categories.cc at 8%, 5%
// and 3%; the default dataset holds neither business type 6, 10% entries nor
// provisional import categories, so a default run passes every check. The
// saved tax-return values of each dataset are the sums of its entries, the
// refund statement included, so that the two methods agree on the sample.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <array>
#include <cstring>
#include <vector>

#include "ledger/accounting_period.h"
#include "ledger/ledger_file_mgr.h"
#include "ledger/ledger_host.h"
#include "ledger/ledger_writer.h"
#include "ledger/tax_categories.h"
#include "platform/messages.h"

namespace ltb::ledger {

namespace {

using R = host::StTAXREPORTRATEINFO;
using B = host::StTAXREPORTBUSINESSTYPEINFO;
using host::StSaveTaxInfo;

constexpr long kStart = 20160401, kEnd = 20170331;

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// ---- Accounts -----------------------------------------------------------------

// The refund-statement line an account's settlement sums fall into as the
// journal method files them: goods purchases by their purchase code, the
// selling, non-operating and other-loss details through the summary line
// they roll up into. Summary lines themselves carry no entries.
enum class RefundLine { kNone, kPurchases, kSelling, kNonOperating, kOtherLoss };

struct AccountDef {
  int code;
  const char8_t* name;
  uint32_t classCode;
  int side, summary, exclusionA, listExclusion;
  RefundLine refund = RefundLine::kNone;
};

constexpr RefundLine kPurchases = RefundLine::kPurchases, kSelling = RefundLine::kSelling,
                     kNonOperating = RefundLine::kNonOperating, kOtherLoss = RefundLine::kOtherLoss;

constexpr AccountDef kAccounts[] = {
    {111, u8"現金", 0x01010100, 1, 0, 0, 0},
    {131, u8"普通預金", 0x01010200, 1, 0, 0, 0},
    {135, u8"売掛金", 0x01010400, 1, 0, 0, 0},
    {150, u8"建物", 0x01020100, 1, 0, 0, 0},
    {155, u8"車両運搬具", 0x01020200, 1, 0, 0, 0},
    {160, u8"開業費", 0x01030100, 1, 0, 0, 0},
    {180, u8"仮払消費税", 0x01010800, 1, 0, 0, 0},
    {211, u8"買掛金", 0x02010100, 2, 0, 0, 0},
    {280, u8"仮受消費税", 0x02010800, 2, 0, 0, 0},
    {411, u8"売上高", 0x40100000, 2, 0, 0, 0},
    {420, u8"受取利息", 0x40200000, 2, 0, 0, 0},
    {430, u8"雑収入", 0x40200010, 2, 0, 0, 0},
    {500, u8"売上原価", 0x40884400, 1, 1, 0, 0},
    {511, u8"仕入高", 0x20400000, 1, 0, 0, 0, kPurchases},
    {512, u8"仕入値引戻し高", 0x20400008, 1, 0, 0, 0, kPurchases},
    {520, u8"期首商品棚卸高", 0x40888000, 1, 0, 0, 0},
    {600, u8"販売費及び一般管理費", 0x40882000, 1, 1, 0, 0},
    {611, u8"旅費交通費", 0x40882040, 1, 0, 0, 0, kSelling},
    {612, u8"通信費", 0x40882020, 1, 0, 0, 0, kSelling},
    {613, u8"給料手当", 0x40882010, 1, 0, 0, 0, kSelling},
    {614, u8"支払手数料", 0x40882008, 1, 0, 0, 0, kSelling},
    {615, u8"貸倒損失", 0x40882004, 1, 0, 0, 0, kSelling},
    {616, u8"雑費", 0x40848000, 1, 0, 0, 0},
    {619, u8"内部振替", 0x40882040, 1, 0, 1, 1, kSelling},
    {700, u8"営業外費用", 0x40844000, 1, 1, 0, 0},
    {711, u8"支払利息", 0x40844000, 1, 0, 0, 0, kNonOperating},
    {712, u8"雑損失", 0x40844080, 1, 0, 0, 0, kNonOperating},
    {800, u8"特別損失", 0x40440000, 1, 1, 0, 0},
    {811, u8"固定資産売却損", 0x40440040, 1, 0, 0, 0, kOtherLoss},
    {812, u8"災害損失", 0x40440080, 1, 0, 0, 0, kOtherLoss},
};

// ---- Entries ------------------------------------------------------------------

// A side with tax: amount in yen, tax at `rate` (hundredths of a percent)
// unless the category carries no tax.
JournalSideRow Taxed(int account, int64_t yen, int category, int rate, int btype = 0,
                     int dept = 0) {
  bool carriesTax = (category >= 1 && category <= 2) || (category >= 9 && category <= 10) ||
                    (category >= 21 && category <= 23) || (category >= 25 && category <= 29) ||
                    (category >= 31 && category <= 37);
  int64_t taxYen = carriesTax ? yen * rate / 10000 : 0;
  return {account, dept, yen * 10000, taxYen * 10000, category, rate, btype};
}

// An import tax side: the customs value and the tax paid on it.
JournalSideRow ImportTax(int account, int64_t valueYen, int64_t taxYen, int category, int rate,
                         int dept = 0) {
  return {account, dept, valueYen * 10000, taxYen * 10000, category, rate, 0};
}

JournalSideRow Plain(int account, int64_t amount10k, int dept = 0, int category = 0) {
  return {account, dept, amount10k, 0, category, 0, 0};
}

// Counter side carrying the tax-included amount of `s`.
JournalSideRow CounterOf(int account, const JournalSideRow& s, int dept = 0) {
  return Plain(account, s.amount + s.tax, dept);
}

class EntryList {
 public:
  // Credit-natural side: Dr counter / Cr taxed.
  void Credit(long date, int counter, JournalSideRow taxed, const char8_t* text,
              bool closing = false) {
    Add(date, CounterOf(counter, taxed, taxed.department), taxed, text, closing);
  }
  // Debit-natural side: Dr taxed / Cr counter.
  void Debit(long date, JournalSideRow taxed, int counter, const char8_t* text,
             bool closing = false) {
    Add(date, taxed, CounterOf(counter, taxed, taxed.department), text, closing);
  }
  void Add(long date, JournalSideRow debit, JournalSideRow credit, const char8_t* text,
           bool closing = false) {
    JournalRow r;
    r.entryNo = static_cast<long>(rows_.size()) + 1;
    r.date = date;
    r.closing = closing;
    r.description = U8(text);
    r.debit = debit;
    r.credit = credit;
    rows_.push_back(std::move(r));
  }
  const std::vector<JournalRow>& rows() const { return rows_; }

 private:
  std::vector<JournalRow> rows_;
};

// The 15th of the m-th month of the fiscal year (m = 1 is April 2016).
long Mid(int m) {
  int month = 3 + m, year = 2016;
  if (month > 12) {
    month -= 12;
    ++year;
  }
  return year * 10000L + month * 100L + 15;
}

std::vector<JournalRow> PrincipleCorporationEntries() {
  EntryList e;
  for (int m = 1; m <= 12; ++m) {
    long d = Mid(m);
    e.Credit(d, 135, Taxed(411, 500000 + m * 10000, 1, 800), u8"商品売上");
    e.Credit(d, 135, Taxed(411, 320000 + m * 3000, 1, 800), u8"商品売上");
    if (m % 3 == 0) e.Debit(d, Taxed(411, 12000 + m * 100, 2, 800), 135, u8"売上返品");
    if (m % 6 == 5) e.Debit(d, Taxed(411, 8000, 4, 800), 135, u8"輸出売上返品");
    if (m % 2 == 0) e.Credit(d, 135, Taxed(411, 150000 + m * 2000, 3, 800), u8"輸出売上");
    e.Credit(d, 131, Taxed(420, 1200 + m * 10, 5, 800), u8"受取利息");
    if (m == 8) e.Debit(d, Taxed(420, 500, 6, 800), 131, u8"受取利息戻し");
    if (m == 9) e.Credit(d, 131, Taxed(430, 90000, 7, 800), u8"有価証券売却");
    if (m == 10) e.Credit(d, 131, Taxed(430, 40000, 8, 800), u8"非課税資産の輸出");
    if (m == 12) e.Debit(d, Taxed(615, 54000, 9, 800), 135, u8"貸倒れ");
    if (m == 2) e.Credit(d, 131, Taxed(430, 21000, 10, 800), u8"貸倒債権の回収");
    e.Debit(d, Taxed(511, 280000 + m * 5000, 21, 800), 211, u8"商品仕入");
    e.Debit(d, Taxed(612, 18000 + m * 200, 22, 800), 131, u8"通信費");
    e.Debit(d, Taxed(611, 35000 + m * 500, 23, 800), 111, u8"交通費");
    e.Debit(d, Taxed(614, 3240, 24, 0), 131, u8"振込手数料");
    if (m % 3 == 1) {
      e.Credit(d, 211, Taxed(512, 6000 + m * 100, 25 + (m / 3) % 3, 800), u8"仕入値引");
    }
    if (m == 4) e.Debit(d, Taxed(150, 1800000, 28, 800), 131, u8"店舗改装");
    if (m == 8) e.Debit(d, Taxed(155, 2400000, 29, 800), 131, u8"営業車両");
    if (m == 2) e.Debit(d, Taxed(160, 300000, 21, 800), 131, u8"開業準備費用");
    e.Add(d, Plain(613, 400000 * 10000L, 0, 20), Plain(131, 400000 * 10000L), u8"給与");
    e.Add(d, Plain(131, 200000 * 10000L), Plain(111, 200000 * 10000L), u8"預金預入");
    e.Debit(d, Taxed(711, 4000 + m * 10, 24, 0), 131, u8"支払利息");
    if (m % 4 == 0) e.Debit(d, Taxed(712, 7000, 21, 800), 111, u8"雑損失");
    if (m == 11) e.Debit(d, Taxed(812, 65000, 23, 800), 131, u8"災害復旧");
    if (m == 7) e.Debit(d, Taxed(811, 30000, 0, 0), 155, u8"固定資産売却損");
    if (m == 6 || m == 7) {
      e.Debit(d, ImportTax(180, 500000, 31500, 41, 800), 131, u8"輸入消費税");
      e.Debit(d, ImportTax(180, 100000, 6300, 42, 800), 131, u8"輸入消費税");
      e.Debit(d, ImportTax(180, 200000, 12600, 43, 800), 131, u8"輸入消費税");
      e.Debit(d, ImportTax(180, 800000, 13600, 44, 800), 131, u8"輸入地方消費税");
    }
    if (m == 9) {
      e.Credit(d, 131, ImportTax(180, 50000, 3150, 45, 800), u8"輸入消費税還付");
      e.Credit(d, 131, ImportTax(180, 10000, 630, 46, 800), u8"輸入消費税還付");
      e.Credit(d, 131, ImportTax(180, 20000, 1260, 47, 800), u8"輸入消費税還付");
      e.Credit(d, 131, ImportTax(180, 80000, 1360, 48, 800), u8"輸入地方消費税還付");
    }
    // Contracts concluded before the rate changes keep the old rates.
    if (m <= 3) e.Debit(d, Taxed(511, 60000 + m * 1000, 21, 500), 211, u8"経過措置仕入");
    if (m == 2) e.Credit(d, 135, Taxed(411, 88000, 1, 500), u8"経過措置売上");
    if (m == 5) e.Debit(d, Taxed(411, 4000, 2, 500), 135, u8"経過措置売上返品");
    if (m == 7) e.Credit(d, 211, Taxed(512, 2000, 25, 500), u8"経過措置仕入値引");
    if (m == 11) e.Debit(d, Taxed(615, 10500, 9, 500), 135, u8"経過措置貸倒れ");
    if (m == 3) e.Debit(d, Taxed(520, 45000, 21, 300), 211, u8"旧税率仕入");
    if (m == 9) e.Debit(d, Taxed(616, 9000, 23, 300), 111, u8"旧税率雑費");
    if (m == 4) e.Credit(d, 135, Taxed(411, 30000, 1, 300), u8"旧税率売上");
  }
  e.Debit(20160930, Taxed(511, 25000, 21, 800), 211, u8"中間決算仕入修正", true);
  e.Debit(20170331, Taxed(614, 15000, 23, 800), 131, u8"決算手数料", true);
  e.Credit(20170331, 211, Taxed(512, 5000, 25, 800), u8"決算仕入割戻し", true);
  return e.rows();
}

std::vector<JournalRow> SimplifiedCorporationEntries() {
  EntryList e;
  for (int m = 1; m <= 12; ++m) {
    long d = Mid(m);
    for (int type = 1; type <= 5; ++type) {
      e.Credit(d, 135, Taxed(411, 100000 * type + m * 1000, 1, 800, type), u8"売上");
    }
    if (m % 4 == 0) {
      e.Debit(d, Taxed(411, 6000, 2, 800, 1 + m % 5), 135, u8"売上返品");
    }
    e.Debit(d, Taxed(511, 220000 + m * 2000, 21, 800), 211, u8"仕入");
    e.Debit(d, Taxed(611, 15000, 23, 800), 111, u8"交通費");
    if (m <= 3) e.Credit(d, 135, Taxed(411, 40000, 1, 500, 1 + m % 5), u8"経過措置売上");
    if (m == 4) e.Credit(d, 135, Taxed(411, 20000, 1, 300, 2), u8"旧税率売上");
    if (m == 5) e.Debit(d, Taxed(411, 3000, 2, 500, 3), 135, u8"経過措置売上返品");
    if (m == 6) {
      e.Debit(d, Taxed(511, 300000, 31, 800), 131, u8"輸入仕入(仮)");
      e.Debit(d, Taxed(612, 50000, 32, 800), 131, u8"輸入仕入(仮)");
      e.Debit(d, Taxed(611, 70000, 33, 800), 131, u8"輸入仕入(仮)");
    }
    if (m == 9) {
      e.Credit(d, 131, Taxed(511, 10000, 35, 800), u8"輸入仕入返還(仮)");
      e.Credit(d, 131, Taxed(612, 5000, 36, 800), u8"輸入仕入返還(仮)");
      e.Credit(d, 131, Taxed(611, 7000, 37, 800), u8"輸入仕入返還(仮)");
    }
    if (m == 12) e.Debit(d, Taxed(615, 20000, 9, 800), 135, u8"貸倒れ");
  }
  e.Debit(20170331, Taxed(614, 8000, 23, 800), 131, u8"決算手数料", true);
  return e.rows();
}

constexpr int kBusinessDept = 1, kRealEstateDept = 2;

std::vector<JournalRow> IndividualEntries() {
  EntryList e;
  for (int m = 1; m <= 12; ++m) {
    long d = Mid(m);
    e.Credit(d, 135, Taxed(411, 260000 + m * 4000, 1, 800, 0, kBusinessDept), u8"事業売上");
    e.Credit(d, 131, Taxed(430, 150000, 1, 800, 0, kRealEstateDept), u8"店舗家賃収入");
    e.Credit(d, 131, Taxed(430, 90000, 5, 800, 0, kRealEstateDept), u8"住宅家賃収入");
    e.Debit(d, Taxed(511, 140000 + m * 1000, 21, 800, 0, kBusinessDept), 211, u8"仕入");
    e.Debit(d, Taxed(612, 9000, 23, 800, 0, kBusinessDept), 131, u8"通信費");
    e.Debit(d, Taxed(711, 2000, 24, 0, 0, kRealEstateDept), 131, u8"借入金利息");
    if (m % 3 == 0) {
      e.Debit(d, Taxed(611, 40000, 22, 800, 0, kRealEstateDept), 131, u8"賃貸物件修繕");
    }
    if (m % 4 == 2) e.Debit(d, Taxed(712, 5000, 21, 800, 0, kBusinessDept), 111, u8"雑損失");
    if (m == 5) e.Debit(d, Taxed(411, 9000, 2, 800, 0, kBusinessDept), 135, u8"売上返品");
    if (m == 7) e.Credit(d, 211, Taxed(512, 4000, 25, 800, 0, kBusinessDept), u8"仕入値引");
    if (m == 6) e.Debit(d, Taxed(511, 120000, 31, 800, 0, kBusinessDept), 131, u8"輸入仕入(仮)");
    if (m == 8) e.Credit(d, 131, Taxed(511, 6000, 35, 800, 0, kBusinessDept), u8"輸入仕入返還(仮)");
    if (m == 10) e.Debit(d, Taxed(155, 900000, 28, 800, 0, kBusinessDept), 131, u8"機械購入");
    if (m == 11)
      e.Debit(d, Taxed(150, 1500000, 29, 800, 0, kRealEstateDept), 131, u8"賃貸物件設備");
    if (m <= 2) e.Debit(d, Taxed(511, 30000, 21, 500, 0, kBusinessDept), 211, u8"経過措置仕入");
    if (m == 3) e.Debit(d, Taxed(520, 12000, 21, 300, 0, kBusinessDept), 211, u8"旧税率仕入");
  }
  e.Debit(20170331, Taxed(614, 6000, 23, 800, 0, kBusinessDept), 131, u8"決算手数料", true);
  return e.rows();
}

// ---- Saved tax-return values ------------------------------------------------------

int RateIndex(int rate) { return rate == 800 ? 0 : rate == 500 ? 1 : rate == 300 ? 2 : -1; }

// Where a per-rate figure is saved; 0 when the record has no slot for it.
size_t SavedRateSlot(size_t field, int ri) {
  const size_t(&kSales)[3] = StSaveTaxInfo::kSalesAreaOff;
  const size_t(&kPurchase)[3] = StSaveTaxInfo::kPurchaseAreaOff;
  const size_t(&kBadDebt)[3] = StSaveTaxInfo::kBadDebtAreaOff;
  static constexpr std::array<std::pair<size_t, size_t>, 12> kSalesRel = {
      {{R::KAZEIURIAGEZEINUKI, 0},
       {R::KAZEIURIAGEZEIGAKU, 8},
       {R::KAZEIURIAGEZEIKOMI, 16},
       {R::MENZEIURIAGEZEINUKI, 24},
       {R::HIKAZEIURIAGEYUUKAZEINUKI, 32},
       {R::HIKAZEIURIAGEYUUKAIGAIZEINUKI, 40},
       {R::KAZEIURIAGEHENKANZEINUKI, 48},
       {R::KAZEIURIAGEHENKANZEIGAKU, 56},
       {R::KAZEIURIAGEHENKANZEIKOMI, 64},
       {R::MENZEIURIAGEHENKANZEINUKI, 72},
       {R::HIKAZEIURIAGEHENKANZEINUKI, 80},
       {R::HIKAZEISHISANYUSHUTSUZEINUKI, 88}}};
  for (auto [f, rel] : kSalesRel) {
    if (f == field) return kSales[ri] + rel;
  }
  if (field >= R::SHIIREKAZEIZEINUKI && field <= R::SHIIREKYOTUUZEIKOMI) {
    return kPurchase[ri] + (field - R::SHIIREKAZEIZEINUKI);
  }
  if (field >= R::YUNYUSHIIREKAZEIZEIGAKU && field <= R::YUNYUHENKANKYOTUUZEIGAKU) {
    // The import and purchase-return slots keep the rate record's spacing.
    return kPurchase[ri] + (field - R::SHIIREKAZEIZEINUKI);
  }
  if (field >= R::KASHIDAOREZEINUKI && field <= R::KASHIDAOREKAISHUZEIKOMI) {
    return kBadDebt[ri] + (field - R::KASHIDAOREZEINUKI);
  }
  if (field == R::YUNYUSHIIRETIHO) return ri < 2 ? StSaveTaxInfo::kImportLocalTaxOff[ri] : 0;
  if (field == R::YUNYUHENKANTIHO) {
    return ri < 2 ? StSaveTaxInfo::kImportRefundLocalTaxOff[ri] : 0;
  }
  return 0;
}

size_t SavedBusinessSlot(size_t field, int ri, int type) {
  if (type < 1 || type > 5) return 0;
  const size_t(&kSales)[3] = StSaveTaxInfo::kSalesTypeAreaOff;
  const size_t(&kReturns)[3] = StSaveTaxInfo::kReturnsTypeAreaOff;
  size_t n = 24 * static_cast<size_t>(type - 1);
  if (field == B::KAZEIURIAGESHUZEINUKI) return kSales[ri] + n;
  if (field == B::KAZEIURIAGESHUZEIGAKU) return kSales[ri] + n + 8;
  if (field == B::KAZEIURIAGESHUZEIKOMI) return kSales[ri] + n + 16;
  if (field == B::KAZEIHENKANSHUZEINUKI) return kReturns[ri] + n;
  if (field == B::KAZEIHENKANSHUZEIGAKU) return kReturns[ri] + n + 8;
  if (field == B::KAZEIHENKANSHUZEIKOMI) return kReturns[ri] + n + 16;
  return 0;
}

void AddFields(StSaveTaxInfo* info, const CategoryFields& f, bool business, int ri, int type,
               int sign, const JournalSideRow& s) {
  const std::pair<size_t, int64_t> parts[] = {
      {f.excluded, s.amount}, {f.tax, s.tax}, {f.included, s.amount + s.tax}};
  for (auto [field, value] : parts) {
    if (field == 0) continue;
    size_t slot = business ? SavedBusinessSlot(field, ri, type) : SavedRateSlot(field, ri);
    if (slot != 0) info->AddI64(slot, sign * value);
  }
}

// ---- Saved refund statement --------------------------------------------------
//
// The sample stands for a user who saved the tax-return screen after entering
// the journal, so its refund statement holds what the journal method sums
// from the same entries for the whole year: per line the settled amount
// (debit minus credit of the line's accounts, the interim closing left out)
// and the part of it booked under a category that is not a taxable purchase.

RefundLine RefundLineOf(int account) {
  for (const AccountDef& a : kAccounts) {
    if (a.code == account) return a.refund;
  }
  return RefundLine::kNone;
}

bool NotTaxablePurchase(int category) { return category < 21 || category == 24 || category >= 30; }

// The individual income lines a department's figures reach: its income type
// (1 business, 3 real estate) and, for a department that carries a link,
// other income as well. A side without a department counts as business.
struct IncomeLines {
  bool business = true, realEstate = false, other = false;
};

IncomeLines IncomeLinesOf(int code, const std::vector<DepartmentRecordRow>& departments) {
  IncomeLines r;
  for (const DepartmentRecordRow& d : departments) {
    if (d.code != code) continue;
    const bool linked = d.kind == 1 && d.linkField != 0;
    const bool unlinked = d.kind == 1 && d.linkField == 0;
    r.business = d.incomeType == 1 || unlinked;
    r.realEstate = d.incomeType == 3;
    r.other = !unlinked && (linked || (d.incomeType != 1 && d.incomeType != 3));
  }
  return r;
}

// Refund-statement slots (the settled amount; the not-taxable part is the
// next slot).
constexpr size_t kCorporateSlot[] = {0, 0, 2, 4, 6};  // by RefundLine
constexpr size_t kBusinessPurchases = 0, kBusinessExpenses = 2, kBusinessAssets = 4,
                 kRealEstateExpenses = 6, kRealEstateAssets = 8, kOtherPurchases = 10,
                 kOtherExpenses = 12;
constexpr size_t kCorporateAssets = 8, kCorporateDeferred = 10;
constexpr size_t kNoRefundSlot = ~size_t{0};

// The slots one journal side adds to.
std::vector<size_t> RefundSlotsOf(RefundLine line, bool individual, const IncomeLines& income) {
  if (line == RefundLine::kNone) return {};
  if (!individual) return {kCorporateSlot[static_cast<int>(line)]};
  const bool purchases = line == RefundLine::kPurchases;
  std::vector<size_t> slots;
  if (income.business) slots.push_back(purchases ? kBusinessPurchases : kBusinessExpenses);
  if (income.realEstate && !purchases) slots.push_back(kRealEstateExpenses);
  if (income.other) slots.push_back(purchases ? kOtherPurchases : kOtherExpenses);
  return slots;
}

void SaveRefundStatement(StSaveTaxInfo* info, const DatasetRow& ds,
                         const std::vector<JournalRow>& rows,
                         const std::vector<FixedAssetRow>& assets,
                         const std::vector<DepartmentRecordRow>& departments) {
  const bool individual = ds.entityKind >= 3;
  std::array<int64_t, 16> slots{};
  for (const JournalRow& r : rows) {
    // A closing entry before the year end is the interim closing, which the
    // year's account sums leave out.
    const bool settled = !r.closing || r.date >= ds.periodEnd;
    const JournalSideRow* sides[] = {&r.debit, &r.credit};
    for (int i = 0; i < 2; ++i) {
      const JournalSideRow& s = *sides[i];
      const int64_t booked = (i == 0 ? 1 : -1) * (ds.taxIncluded ? s.amount + s.tax : s.amount);
      const IncomeLines income = IncomeLinesOf(s.department, departments);
      for (size_t slot : RefundSlotsOf(RefundLineOf(s.account), individual, income)) {
        if (settled) slots[slot] += booked;
        if (NotTaxablePurchase(s.category)) slots[slot + 1] += booked;
      }
    }
  }
  for (const FixedAssetRow& a : assets) {
    if (a.acquired < ds.periodStart || a.acquired > ds.periodEnd) continue;
    size_t slot = kNoRefundSlot;
    if (!individual) {
      slot = a.kind == 9 ? kCorporateDeferred : kCorporateAssets;
    } else if (a.incomeType == 1) {
      slot = kBusinessAssets;  // deferred assets of the business included
    } else if (a.incomeType == 2) {
      slot = kRealEstateAssets;
    }
    if (slot != kNoRefundSlot) slots[slot] += a.amount;
  }
  for (size_t i = 0; i < slots.size(); ++i) {
    if (slots[i] != 0) info->SetI64(StSaveTaxInfo::RefundAmountOff(i), slots[i]);
  }
  // The tax-class flags: 2 for tax-excluded books, 1 for tax-included.
  const uint8_t taxClass = ds.taxIncluded ? 1 : 2;
  if (individual) {
    info->SetU8(StSaveTaxInfo::kIndividualClassFlagOff, taxClass);
  } else {
    info->SetU8(StSaveTaxInfo::kSettlementClassFlagOff, taxClass);
    info->SetU8(StSaveTaxInfo::kAssetClassFlagOff, taxClass);
  }
}

// ---- The saved record ---------------------------------------------------------------

StSaveTaxInfo SavedValues(const DatasetRow& ds, const std::vector<JournalRow>& rows,
                          const std::vector<FixedAssetRow>& assets,
                          const std::vector<DepartmentRecordRow>& departments) {
  StSaveTaxInfo info;
  info.SetU8(StSaveTaxInfo::kTaxationCodeOff, ds.filingClass == host::kSimplifiedTaxation ? 2 : 1);
  info.SetU8(StSaveTaxInfo::kDeductionCodeOff, static_cast<uint8_t>(ds.deductionMethod + 1));
  info.SetU8(StSaveTaxInfo::kSalesTaxCalcFlagOff, 1);
  info.SetU8(StSaveTaxInfo::kPurchaseTaxCalcFlagOff, 1);
  info.SetU8(StSaveTaxInfo::kOldRateFlagOff, 1);
  for (size_t off : {StSaveTaxInfo::kPeriodStartOff, StSaveTaxInfo::kReportFromOff,
                     StSaveTaxInfo::kRangeStartOff}) {
    info.SetI32(off, static_cast<int32_t>(ds.periodStart));
  }
  for (size_t off :
       {StSaveTaxInfo::kPeriodEndOff, StSaveTaxInfo::kReportToOff, StSaveTaxInfo::kRangeEndOff}) {
    info.SetI32(off, static_cast<int32_t>(ds.periodEnd));
  }
  info.SetU8(StSaveTaxInfo::kInterimCodeOff, static_cast<uint8_t>(ds.interimFlag + 1));

  for (const JournalRow& r : rows) {
    const JournalSideRow* sides[] = {&r.debit, &r.credit};
    for (int i = 0; i < 2; ++i) {
      const JournalSideRow& s = *sides[i];
      const TaxCategory* c = FindTaxCategory(static_cast<uint8_t>(s.category));
      int ri = RateIndex(s.rate);
      if (!c || c->provisional || ri < 0) continue;
      int sign = SideSign(*c, i == 0 ? BookSide::kDebit : BookSide::kCredit);
      AddFields(&info, c->rate, false, ri, 0, sign, s);
      AddFields(&info, c->businessType, true, ri, s.businessType, sign, s);
    }
  }
  SaveRefundStatement(&info, ds, rows, assets, departments);
  return info;
}

// ---- Writing ------------------------------------------------------------------------

bool WriteDataset(LedgerDb& db, const DatasetRow& ds, const std::vector<JournalRow>& rows,
                  const std::vector<FixedAssetRow>& assets,
                  const std::vector<DepartmentRecordRow>& departments, std::string* error) {
  if (!AddDataset(db, ds, error)) return false;
  for (const AccountDef& a : kAccounts) {
    AccountRecordRow row;
    row.code = a.code;
    row.name = U8(a.name);
    row.classCode = static_cast<int32_t>(a.classCode);
    row.balanceSide = a.side;
    row.summaryLine = a.summary;
    row.exclusionA = a.exclusionA;
    row.listExclusion = a.listExclusion;
    if (!AddAccount(db, ds.no, row, error)) return false;
  }
  for (const DepartmentRecordRow& d : departments) {
    if (!AddDepartment(db, ds.no, d, error)) return false;
  }
  for (const JournalRow& r : rows) {
    if (!AddJournal(db, ds.no, r, error)) return false;
  }
  for (const FixedAssetRow& a : assets) {
    if (!AddFixedAsset(db, ds.no, a, error)) return false;
  }
  return SetSavedTaxReturn(db, ds.no, SavedValues(ds, rows, assets, departments), error);
}

DatasetRow Dataset(int no, const char* id, const char8_t* company) {
  DatasetRow d;
  d.no = no;
  d.dataId = id;
  d.companyName = U8(company);
  d.periodStart = kStart;
  d.periodEnd = kEnd;
  return d;
}

bool WriteSample(LedgerDb& db, std::string* error) {
  DatasetRow principle = Dataset(1, "SAMPLE01", u8"株式会社サンプル商事");
  principle.interimFlag = 1;
  principle.filingClass = 2;
  principle.deductionMethod = 0;
  std::vector<FixedAssetRow> principleAssets = {
      {1, U8(u8"店舗内装"), 20160715, 1, 1800000 * 10000L, 1},
      {2, U8(u8"営業車両"), 20161115, 1, 2400000 * 10000L, 1},
      {3, U8(u8"開業費"), 20160515, 9, 300000 * 10000L, 1},
      {4, U8(u8"事務所什器"), 20150601, 1, 500000 * 10000L, 1},
  };
  if (!WriteDataset(db, principle, PrincipleCorporationEntries(), principleAssets, {}, error)) {
    return false;
  }

  DatasetRow simplified = Dataset(2, "SAMPLE02", u8"有限会社サンプル工房");
  simplified.filingClass = 1;
  simplified.mainBusinessType = 3;
  std::vector<FixedAssetRow> simplifiedAssets = {
      {1, U8(u8"工作機械"), 20160901, 1, 1200000 * 10000L, 1},
  };
  if (!WriteDataset(db, simplified, SimplifiedCorporationEntries(), simplifiedAssets, {}, error)) {
    return false;
  }

  DatasetRow individual = Dataset(3, "SAMPLE03", u8"山田 太郎");
  individual.entityKind = 3;
  individual.incomeMode = 3;
  individual.filingClass = 2;
  individual.deductionMethod = 1;
  std::vector<FixedAssetRow> individualAssets = {
      {1, U8(u8"加工機械"), 20170115, 1, 900000 * 10000L, 1},
      {2, U8(u8"賃貸物件設備"), 20170215, 1, 1500000 * 10000L, 2},
      {3, U8(u8"開業費"), 20160601, 9, 200000 * 10000L, 1},
  };
  std::vector<DepartmentRecordRow> departments = {
      {kBusinessDept, U8(u8"事業部門"), 1, kBusinessDept, 1},
      {kRealEstateDept, U8(u8"不動産部門"), 1, kRealEstateDept, 3},
  };
  if (!WriteDataset(db, individual, IndividualEntries(), individualAssets, departments, error)) {
    return false;
  }

  return AddUser(db, "user01", 1, error) && AddUser(db, "user02", 3, error) &&
         SetSetting(db, "package_name", U8(u8"Ledora 会計"), error) &&
         SetSetting(db, "link_answer", "0", error) &&
         SetSetting(db, "default_user", "user01", error);
}

}  // namespace

bool CreateSampleLedger(const std::string& home, std::string* error) {
  struct stat st;
  if (::stat(LedgerFilePath(home).c_str(), &st) == 0) return true;
  if (!MakeFolders(home)) {
    *error = platform::Format(platform::Tr("the folder %s cannot be created: %s"), home.c_str(),
                              std::strerror(errno));
    return false;
  }
  // Written in a private folder beside it and linked into place, so that a
  // ledger file is either complete or absent, and two first runs at the same
  // time do not build into the same file.
  std::string pattern = home + "/.creating-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    *error = platform::Format(platform::Tr("no working folder can be created in %s: %s"),
                              home.c_str(), std::strerror(errno));
    return false;
  }
  const std::string tempHome = pattern;
  bool written = false;
  {
    std::unique_ptr<LedgerDb> db = LedgerDb::Open(tempHome, LedgerDb::Mode::kCreate, error);
    if (db) {
      WriteTransaction tx(*db);
      // Commit also gives the reason when the transaction could not begin.
      written = tx.ok() ? WriteSample(*db, error) && tx.Commit(error) : tx.Commit(error);
    }
  }
  std::string built = LedgerFilePath(tempHome);
  // link() never replaces: when another process got there first, its
  // ledger stays and this one is dropped. Where hard links are not
  // supported, rename() puts it in place.
  std::string target = LedgerFilePath(home);
  if (written && ::link(built.c_str(), target.c_str()) != 0 && errno != EEXIST &&
      ::rename(built.c_str(), target.c_str()) != 0) {
    *error = platform::Format(platform::Tr("the finished ledger cannot be put in place in %s: %s"),
                              home.c_str(), std::strerror(errno));
    written = false;
  }
  ::unlink(built.c_str());
  ::rmdir(tempHome.c_str());
  return written;
}

}  // namespace ltb::ledger
