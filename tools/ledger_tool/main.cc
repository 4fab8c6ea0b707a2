// ledora-ledger: creates and fills ledger homes for LedTaxBridge.
// Arguments and output are UTF-8.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ledger/dataset_record.h"
#include "ledger/ledger_db.h"
#include "ledger/ledger_file_mgr.h"
#include "ledger/ledger_host.h"
#include "ledger/ledger_writer.h"
#include "ledger/sql_statement.h"
#include "platform/messages.h"
#include "tools/ledger_tool/books_arguments.h"
#include "tools/ledger_tool/books_commands.h"
#include "tools/ledger_tool/csv_import.h"

namespace {

using ltb::ledger::LedgerDb;
using ltb::ledger::SqlStatement;
using ltb::ledger_tool::Fail;
using ltb::platform::Format;
using ltb::platform::MessageId;
using ltb::platform::Tr;

// A command given the wrong arguments: what it takes and where its help is.
int NeedsArguments(const std::string& command, const char* arguments) {
  return Fail(Format(Tr("%s needs %s: ledora-ledger %s --help describes them."), command.c_str(),
                     arguments, command.c_str()));
}

bool ToNumber(const std::string& text, long long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  *value = std::strtoll(text.c_str(), &end, 0);
  return errno == 0 && end && *end == '\0';
}

// "--key value" pairs after the positional arguments.
class Options {
 public:
  bool Parse(const std::vector<std::string>& args, size_t from, std::string* error) {
    for (size_t i = from; i < args.size(); i += 2) {
      if (args[i].rfind("--", 0) != 0 || i + 1 >= args.size()) {
        *error = Format(Tr("The argument \"%s\" is not of the form --option VALUE; the "
                           "command's --help lists its options."),
                        args[i].c_str());
        return false;
      }
      values_[args[i].substr(2)] = args[i + 1];
    }
    return true;
  }
  bool Has(const std::string& key) const { return values_.count(key) != 0; }
  std::string Text(const std::string& key, const std::string& fallback = "") {
    used_.insert(key);
    auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
  }
  bool Number(const std::string& key, long long* value, std::string* error) {
    used_.insert(key);
    auto it = values_.find(key);
    if (it == values_.end()) return true;
    if (!ToNumber(it->second, value)) {
      *error = Format(Tr("The option --%s needs a whole number, not \"%s\"."), key.c_str(),
                      it->second.c_str());
      return false;
    }
    return true;
  }
  // False with *error when an option was given that the command ignores.
  bool AllUsed(std::string* error) const {
    for (const auto& [key, value] : values_) {
      if (!used_.count(key)) {
        *error = Format(Tr("This command has no option --%s; its --help lists the options."),
                        key.c_str());
        return false;
      }
    }
    return true;
  }

 private:
  std::map<std::string, std::string> values_;
  std::set<std::string> used_;
};

std::unique_ptr<LedgerDb> OpenForWriting(const std::string& home, std::string* error) {
  return LedgerDb::Open(home, LedgerDb::Mode::kReadWrite, error);
}

bool ReadWholeFile(const std::string& path, std::string* data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *data = buffer.str();
  return !in.bad();
}

int CmdInit(const std::vector<std::string>& a) {
  const bool standardChart = a.size() == 3 && a[2] == "--standard-chart";
  if (a.size() != 2 && !standardChart) return NeedsArguments("init", "HOME [--standard-chart]");
  std::string error;
  if (!ltb::ledger::MakeFolders(a[1])) {
    return Fail(
        Format(Tr("The folder %s cannot be created: %s. Check the path and its permissions."),
               a[1].c_str(), std::strerror(errno)));
  }
  auto db = LedgerDb::Open(a[1], LedgerDb::Mode::kCreate, &error);
  if (!db) return Fail(error);
  if (!ltb::ledger::SetSetting(*db, "link_answer", db->Setting("link_answer", "0"), &error)) {
    return Fail(error);
  }
  if (standardChart && !ltb::ledger::SetSetting(*db, ltb::ledger_tool::kNewDatasetChartSetting,
                                                "standard", &error)) {
    return Fail(error);
  }
  std::cout << Format(Tr("The ledger is ready: %s\n"), db->path().c_str());
  return 0;
}

int CmdSample(const std::vector<std::string>& a) {
  if (a.size() != 2) return NeedsArguments("sample", "HOME");
  std::string error;
  struct stat st;
  if (::stat(ltb::ledger::LedgerFilePath(a[1]).c_str(), &st) == 0) {
    return Fail(Format(Tr("A ledger already exists at %s: give an empty folder."),
                       ltb::ledger::LedgerFilePath(a[1]).c_str()));
  }
  if (!ltb::ledger::CreateSampleLedger(a[1], &error)) {
    return Fail(Format(Tr("The sample ledger cannot be written into %s: %s. Check the folder and "
                          "its permissions."),
                       a[1].c_str(), error.c_str()));
  }
  std::cout << Format(Tr("The sample ledger is written: %s\n"),
                      ltb::ledger::LedgerFilePath(a[1]).c_str());
  return 0;
}

int CmdDatasets(const std::vector<std::string>& a) {
  if (a.size() != 2) return NeedsArguments("datasets", "HOME");
  std::string error;
  auto db = LedgerDb::Open(a[1], LedgerDb::Mode::kReadOnly, &error);
  if (!db) return Fail(error);
  SqlStatement q(db->handle(),
                 "SELECT d.no, d.data_id, d.period_start, d.period_end, d.entity_kind,"
                 " d.filing_class, d.deduction_method, d.main_business_type, d.tax_included,"
                 " d.tax_rate_count, d.interim_flag, d.company_name,"
                 " (SELECT group_concat(user_id, ',') FROM users u WHERE u.selected_no = d.no),"
                 " (SELECT count(*) FROM journal j WHERE j.dataset = d.no)"
                 " FROM datasets d ORDER BY d.no");
  // TRANSLATORS: the column heads of the dataset list, each above its column.
  std::cout << Tr(
      "no  data id          period             entity filing deduct main incl"
      " rates interim entries users  company\n");
  while (q.Step()) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "%-3lld %-16s %08lld-%08lld %6lld %6lld %6lld %4lld %4lld %5lld %7lld %7lld ",
                  static_cast<long long>(q.Int(0)), q.Text(1).c_str(),
                  static_cast<long long>(q.Int(2)), static_cast<long long>(q.Int(3)),
                  static_cast<long long>(q.Int(4)), static_cast<long long>(q.Int(5)),
                  static_cast<long long>(q.Int(6)), static_cast<long long>(q.Int(7)),
                  static_cast<long long>(q.Int(8)), static_cast<long long>(q.Int(9)),
                  static_cast<long long>(q.Int(10)), static_cast<long long>(q.Int(13)));
    std::string users = q.Text(12);
    std::cout << line << (users.empty() ? "-" : users) << "  " << q.Text(11) << "\n";
  }
  if (!q.ok()) {
    return Fail(Format(Tr("The datasets of the ledger cannot be read: %s."), q.error().c_str()));
  }
  return 0;
}

int CmdSelect(const std::vector<std::string>& a) {
  long long no;
  if (a.size() != 4 || !ToNumber(a[3], &no)) return NeedsArguments("select", "HOME USER DATASET");
  if (a[2].empty() || a[2].size() > 64)
    return Fail(Tr("A user id has 1 to 64 characters: give a shorter one."));
  std::string error;
  auto db = OpenForWriting(a[1], &error);
  if (!db || !ltb::ledger::SelectDataset(*db, a[2], static_cast<int>(no), &error)) {
    return Fail(error);
  }
  return 0;
}

int CmdAddDataset(const std::vector<std::string>& args) {
  std::vector<std::string> a = args;
  const auto flag = std::find(a.begin(), a.end(), "--standard-chart");
  bool standardChart = flag != a.end();
  if (standardChart) a.erase(flag);
  long long no;
  if (a.size() < 4 || !ToNumber(a[2], &no)) return NeedsArguments("add-dataset", "HOME NO DATA_ID");
  ltb::ledger::DatasetRow row;
  row.no = static_cast<int>(no);
  row.dataId = a[3];
  Options o;
  std::string error;
  long long from = 0, to = 0, entity = 0, income = 0, interim = 0, past = 0, closing = 0;
  if (!o.Parse(a, 4, &error) || !o.Number("from", &from, &error) || !o.Number("to", &to, &error) ||
      !o.Number("entity", &entity, &error) || !o.Number("income-mode", &income, &error) ||
      !o.Number("interim", &interim, &error) || !o.Number("past-results", &past, &error) ||
      !o.Number("closing-day", &closing, &error)) {
    return Fail(error);
  }
  row.companyName = o.Text("company");
  if (!o.AllUsed(&error)) return Fail(error);
  if (row.dataId.empty() || row.dataId.size() > 15)
    return Fail(Tr("A data id has 1 to 15 characters: give a shorter one."));
  row.periodStart = static_cast<long>(from);
  row.periodEnd = static_cast<long>(to);
  row.entityKind = static_cast<int>(entity);
  row.incomeMode = static_cast<int>(income);
  row.interimFlag = static_cast<int>(interim);
  row.pastResults = static_cast<int>(past);
  row.closingDay = static_cast<int>(closing);
  auto db = OpenForWriting(a[1], &error);
  if (!db) return Fail(error);
  standardChart =
      standardChart || db->Setting(ltb::ledger_tool::kNewDatasetChartSetting, "") == "standard";
  ltb::ledger::WriteTransaction tx(*db);
  if (!ltb::ledger::AddDataset(*db, row, &error) ||
      (standardChart && !ltb::ledger_tool::AddStandardChart(*db, row.no, &error)) ||
      !tx.Commit(&error)) {
    return Fail(error);
  }
  return 0;
}

int CmdAddAccount(const std::vector<std::string>& a) {
  long long dataset, code, classCode;
  if (a.size() < 5 || !ToNumber(a[2], &dataset) || !ToNumber(a[3], &code) ||
      !ToNumber(a[4], &classCode)) {
    return NeedsArguments("add-account", "HOME DATASET CODE CLASS_CODE");
  }
  ltb::ledger::AccountRecordRow row;
  row.code = static_cast<int>(code);
  row.classCode = static_cast<int32_t>(static_cast<uint32_t>(classCode));
  Options o;
  std::string error;
  long long side = 1, summary = 0, exA = 0, exB = 0, listEx = 0;
  if (!o.Parse(a, 5, &error) || !o.Number("side", &side, &error) ||
      !o.Number("summary", &summary, &error) || !o.Number("exclusion-a", &exA, &error) ||
      !o.Number("exclusion-b", &exB, &error) || !o.Number("list-exclusion", &listEx, &error)) {
    return Fail(error);
  }
  row.name = o.Text("name");
  row.codeText = o.Text("code-text");
  if (!o.AllUsed(&error)) return Fail(error);
  row.balanceSide = static_cast<int>(side);
  row.summaryLine = static_cast<int>(summary);
  row.exclusionA = static_cast<int>(exA);
  row.exclusionB = static_cast<int>(exB);
  row.listExclusion = static_cast<int>(listEx);
  auto db = OpenForWriting(a[1], &error);
  if (!db || !ltb::ledger::AddAccount(*db, static_cast<int>(dataset), row, &error)) {
    return Fail(error);
  }
  return 0;
}

int CmdAddDepartment(const std::vector<std::string>& a) {
  long long dataset, code;
  if (a.size() < 4 || !ToNumber(a[2], &dataset) || !ToNumber(a[3], &code)) {
    return NeedsArguments("add-department", "HOME DATASET CODE");
  }
  ltb::ledger::DepartmentRecordRow row;
  row.code = static_cast<int>(code);
  Options o;
  std::string error;
  long long kind = 0, link = 0, income = 1;
  if (!o.Parse(a, 4, &error) || !o.Number("kind", &kind, &error) ||
      !o.Number("link", &link, &error) || !o.Number("income-type", &income, &error)) {
    return Fail(error);
  }
  row.name = o.Text("name");
  if (!o.AllUsed(&error)) return Fail(error);
  row.kind = static_cast<int>(kind);
  row.linkField = static_cast<int>(link);
  row.incomeType = static_cast<int>(income);
  auto db = OpenForWriting(a[1], &error);
  if (!db || !ltb::ledger::AddDepartment(*db, static_cast<int>(dataset), row, &error)) {
    return Fail(error);
  }
  return 0;
}

using CsvImporter = bool (*)(LedgerDb&, int, std::FILE*, long*, std::string*);

// import-accounts, import-journal, import-assets: one file into one dataset;
// `done` tells how many rows came in.
int CmdImport(const std::vector<std::string>& a, CsvImporter import, const char* done) {
  long long dataset;
  if (a.size() != 4 || !ToNumber(a[2], &dataset)) return NeedsArguments(a[0], "HOME DATASET FILE");
  std::string error;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(a[3].c_str(), "rb"),
                                                       &std::fclose);
  if (!file) {
    return Fail(Format(Tr("The file %s cannot be read: %s. Check the file name."), a[3].c_str(),
                       std::strerror(errno)));
  }
  auto db = OpenForWriting(a[1], &error);
  if (!db) return Fail(error);
  long count = 0;
  if (!import(*db, static_cast<int>(dataset), file.get(), &count, &error)) {
    return Fail(Format(Tr("%s: %s Nothing was imported."), a[3].c_str(), error.c_str()));
  }
  std::cout << Format(Tr(done), count);
  return 0;
}

int CmdImportAccounts(const std::vector<std::string>& a) {
  return CmdImport(a, ltb::ledger_tool::ImportAccountsCsv, MessageId("Imported %ld accounts.\n"));
}
int CmdImportJournal(const std::vector<std::string>& a) {
  return CmdImport(a, ltb::ledger_tool::ImportJournalCsv,
                   MessageId("Imported %ld journal entries.\n"));
}
int CmdImportAssets(const std::vector<std::string>& a) {
  return CmdImport(a, ltb::ledger_tool::ImportAssetsCsv, MessageId("Imported %ld fixed assets.\n"));
}

int CmdSetTax(const std::vector<std::string>& a) {
  long long dataset;
  if (a.size() < 3 || !ToNumber(a[2], &dataset)) return NeedsArguments("set-tax", "HOME DATASET");
  Options o;
  std::string error;
  if (!o.Parse(a, 3, &error)) return Fail(error);
  auto db = OpenForWriting(a[1], &error);
  if (!db) return Fail(error);
  struct Field {
    const char* option;
    const char* column;
    long long low, high;
  };
  static const Field kFields[] = {
      {"filing", "filing_class", 0, 2},        {"rounding", "rounding", 0, 2},
      {"deduction", "deduction_method", 0, 1}, {"main-type", "main_business_type", 0, 6},
      {"tax-included", "tax_included", 0, 1},  {"rates", "tax_rate_count", 1, 3},
  };
  ltb::ledger::WriteTransaction tx(*db);
  if (!ltb::ledger::HasDataset(*db, dataset))
    return Fail(Format(Tr("The ledger holds no dataset %lld: ledora-ledger datasets lists them."),
                       static_cast<long long>(dataset)));
  for (const Field& f : kFields) {
    if (!o.Has(f.option)) continue;
    long long v = 0;
    if (!o.Number(f.option, &v, &error)) return Fail(error);
    if (v < f.low || v > f.high) {
      return Fail(Format(Tr("The option --%s must be %lld to %lld, not %lld."), f.option, f.low,
                         f.high, v));
    }
    std::string sql = std::string("UPDATE datasets SET ") + f.column + " = ?1 WHERE no = ?2";
    SqlStatement u(db->handle(), sql.c_str());
    u.Bind(1, v).Bind(2, dataset);
    if (!u.Run()) {
      return Fail(Format(Tr("The setting --%s of dataset %lld cannot be stored: %s."), f.option,
                         dataset, u.error().c_str()));
    }
  }
  if (!o.AllUsed(&error) || !tx.Commit(&error)) return Fail(error);
  return 0;
}

int WriteSetting(const std::string& home, const std::string& key, const std::string& value) {
  std::string error;
  auto db = OpenForWriting(home, &error);
  if (!db || !ltb::ledger::SetSetting(*db, key, value, &error)) return Fail(error);
  return 0;
}

int CmdSetLink(const std::vector<std::string>& a) {
  long long v;
  if (a.size() != 3 || !ToNumber(a[2], &v)) return NeedsArguments("set-link", "HOME ANSWER");
  return WriteSetting(a[1], "link_answer", std::to_string(v));
}

int CmdSetSetting(const std::vector<std::string>& a) {
  if (a.size() != 4) return NeedsArguments("set-setting", "HOME KEY VALUE");
  return WriteSetting(a[1], a[2], a[3]);
}

int CmdSaveValues(const std::vector<std::string>& a, bool store) {
  long long dataset;
  if (a.size() != 4 || !ToNumber(a[2], &dataset)) return NeedsArguments(a[0], "HOME DATASET FILE");
  std::string error;
  auto db = store ? OpenForWriting(a[1], &error)
                  : LedgerDb::Open(a[1], LedgerDb::Mode::kReadOnly, &error);
  if (!db) return Fail(error);
  if (store) {
    std::string data;
    if (!ReadWholeFile(a[3], &data)) {
      return Fail(Format(Tr("The file %s cannot be read: %s. Check the file name."), a[3].c_str(),
                         std::strerror(errno)));
    }
    ltb::host::StSaveTaxInfo info;
    if (data.size() != sizeof info.bytes) {
      return Fail(Format(Tr("The file %s holds %zu bytes, but saved tax-return values take %zu; "
                            "give a file written by get-save-values."),
                         a[3].c_str(), data.size(), sizeof info.bytes));
    }
    std::memcpy(info.bytes, data.data(), data.size());
    if (!ltb::ledger::SetSavedTaxReturn(*db, static_cast<int>(dataset), info, &error)) {
      return Fail(error);
    }
    return 0;
  }
  SqlStatement q(db->handle(), "SELECT data FROM saved_tax_return WHERE dataset = ?1");
  q.Bind(1, dataset);
  if (!q.Step()) {
    return Fail(Format(Tr("Dataset %lld has no saved tax-return values: store them with "
                          "set-save-values."),
                       static_cast<long long>(dataset)));
  }
  std::ofstream out(a[3], std::ios::binary);
  std::string_view blob = q.Blob(0);
  out.write(blob.data(), static_cast<std::streamsize>(blob.size()));
  return out.good() ? 0
                    : Fail(Format(Tr("The file %s cannot be written: %s. Check the folder and the "
                                     "free space."),
                                  a[3].c_str(), std::strerror(errno)));
}

int CmdSetSaveValues(const std::vector<std::string>& a) { return CmdSaveValues(a, true); }
int CmdGetSaveValues(const std::vector<std::string>& a) { return CmdSaveValues(a, false); }

// Every command: its name, its arguments, what it does in one line, the
// rest of its help (options, notes) and the function that runs it with the
// arguments from the command name on. The usage, each command's --help, the
// manual's command list and the shell completion all come from here.
struct Command {
  const char* name;
  const char* synopsis;
  const char* summary;
  const char* details;
  int (*run)(const std::vector<std::string>& args);
};

const Command kCommands[] = {
    {"init", "HOME [--standard-chart]",
     MessageId("Create an empty ledger in the folder HOME (made when missing)."),
     MessageId("  --standard-chart     every dataset added later starts from the standard\n"
               "                       Japanese chart of accounts\n"),
     CmdInit},
    {"sample", "HOME",
     MessageId("Write the built-in sample ledger (three datasets, two users) into HOME."),
     MessageId("HOME must not hold a ledger yet.\n"), CmdSample},
    {"datasets", "HOME", MessageId("List the datasets of the ledger and which users work on each."),
     MessageId("The first column is the dataset number that the other commands take.\n"),
     CmdDatasets},
    {"select", "HOME USER DATASET",
     MessageId("Make USER work on DATASET (the user is added when new)."),
     MessageId("A program run without --user works as $LEDORA_USER, else the setting\n"
               "default_user, else the first user of the ledger.\n"),
     CmdSelect},
    {"add-dataset",
     "HOME NO DATA_ID --from YYYYMMDD --to YYYYMMDD\n"
     "    [--company NAME] [--entity N] [--income-mode N] [--interim 0|1]\n"
     "    [--past-results N] [--closing-day N] [--standard-chart]",
     MessageId("Add dataset number NO with the accounting period --from to --to."),
     MessageId("  --company NAME       company or person name\n"
               "  --entity N           0/1 corporation, 3/4 individual (default 0)\n"
               "  --income-mode N      individuals: 1 business, 2 real estate, 3 by department\n"
               "  --interim 0|1        1: an interim closing after month 6\n"
               "  --past-results N     99 marks past-results data, which the programs refuse\n"
               "  --closing-day N      day of the month each month ends on (0: month end)\n"
               "  --standard-chart     start the dataset from the standard chart of accounts\n"
               "DATA_ID has 1 to 15 characters. Set the tax settings with set-tax.\n"),
     CmdAddDataset},
    {"set-tax",
     "HOME DATASET [--filing N] [--rounding N] [--deduction N] [--main-type N]\n"
     "    [--tax-included N] [--rates N]",
     MessageId("Set the consumption-tax settings of a dataset."),
     MessageId("  --filing N           0 exempt, 1 simplified, 2 principle taxation\n"
               "  --rounding N         0..2\n"
               "  --deduction N        0 individual attribution, 1 lump-sum proportional\n"
               "  --main-type N        main business type 0..6 (simplified taxation)\n"
               "  --tax-included N     1: the books hold tax-included amounts\n"
               "  --rates N            1..3 rate blocks in the report (8%, 5%, 3%)\n"),
     CmdSetTax},
    {"add-account",
     "HOME DATASET CODE CLASS_CODE [--name NAME] [--code-text TEXT]\n"
     "    [--side 1|2] [--summary 0|1] [--exclusion-a N] [--exclusion-b N]\n"
     "    [--list-exclusion N]",
     MessageId("Add one account to a dataset's chart of accounts."),
     MessageId("CLASS_CODE is the 32-bit classification code the programs sum accounts by,\n"
               "decimal or hexadecimal (0x40882040).\n"
               "  --side 1|2           balance side: 1 debit (default), 2 credit\n"
               "  --summary 0|1        1: a summary line\n"
               "  --exclusion-a N, --exclusion-b N\n"
               "                       1 keeps the account out of the refund-statement sums\n"
               "  --list-exclusion N   non-zero keeps it out of account lists\n"),
     CmdAddAccount},
    {"add-department",
     "HOME DATASET CODE [--name NAME] [--kind N] [--link N]\n"
     "    [--income-type 1|3]",
     MessageId("Add one department to a dataset."),
     MessageId("  --income-type 1|3    1 business (default), 3 real estate\n"), CmdAddDepartment},
    {"import-accounts", "HOME DATASET FILE.csv",
     MessageId("Add a chart of accounts from a CSV file."),
     MessageId("Columns: code, class_code (required), name, code_text, side, summary,\n"
               "exclusion_a, exclusion_b, list_exclusion; the meanings are those of add-account.\n"
               "One transaction: a bad row is reported with its line and nothing is imported.\n"),
     CmdImportAccounts},
    {"import-journal", "HOME DATASET FILE.csv", MessageId("Add journal entries from a CSV file."),
     MessageId("Columns: date, debit_account, credit_account (required), entry_no, closing,\n"
               "description and per side (debit_..., credit_...) department, amount, tax,\n"
               "category, rate, business_type. The accounts and departments must exist.\n"
               "One transaction: a bad row is reported with its line and nothing is imported.\n"),
     CmdImportJournal},
    {"import-assets", "HOME DATASET FILE.csv", MessageId("Add fixed assets from a CSV file."),
     MessageId("Columns: acquired, amount (required), asset_no, name, kind (9 deferred asset),\n"
               "income_type (1 business, 2 real estate).\n"),
     CmdImportAssets},
    {"import-books", ltb::ledger_tool::kImportBooksSynopsis, ltb::ledger_tool::kImportBooksSummary,
     ltb::ledger_tool::kImportBooksDetails, ltb::ledger_tool::CmdImportBooks},
    {"export-books", ltb::ledger_tool::kExportBooksSynopsis, ltb::ledger_tool::kExportBooksSummary,
     ltb::ledger_tool::kExportBooksDetails, ltb::ledger_tool::CmdExportBooks},
    {"set-link", "HOME ANSWER",
     MessageId("Set what the ledger answers when a program asks to link."),
     MessageId("ANSWER: 0 go on, 1 refuse (the run ends as cancelled), anything else an error.\n"),
     CmdSetLink},
    {"set-setting", "HOME KEY VALUE", MessageId("Set one setting of the ledger."),
     MessageId(
         "KEY: package_name, nonfatal_codes, folder_output, folder_settings, default_user.\n"),
     CmdSetSetting},
    {"set-save-values", "HOME DATASET FILE",
     MessageId("Store FILE as the dataset's saved tax-return values (15360 bytes)."), "",
     CmdSetSaveValues},
    {"get-save-values", "HOME DATASET FILE",
     MessageId("Write the dataset's saved tax-return values to FILE."), "", CmdGetSaveValues},
};

const Command* FindCommand(const std::string& name) {
  for (const Command& c : kCommands) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

std::string Usage() {
  std::string text =
      Tr("Usage: ledora-ledger COMMAND ARGS...\n"
         "       ledora-ledger COMMAND --help\n"
         "Creates and fills ledger homes (HOME/ledger.db) for LedTaxBridge.\n"
         "\n"
         "Commands:\n");
  for (const Command& c : kCommands) {
    std::string name = c.name;
    text += "  " + name + std::string(name.size() < 17 ? 17 - name.size() : 1, ' ') +
            Tr(c.summary) + "\n";
  }
  text +=
      Tr("\n"
         "Options:\n"
         "  -h, --help         show this help and exit\n"
         "  -V, --version      show the version and exit\n"
         "\n"
         "Arguments and CSV files are UTF-8. ledger/README.md describes the schema and\n"
         "the CSV columns. Exit status: 0 done, 1 refused or failed.\n");
  return text;
}

std::string CommandHelp(const Command& c) {
  return Format(Tr("Usage: ledora-ledger %s %s\n"), c.name, c.synopsis) + Tr(c.summary) + "\n" +
         (*c.details ? std::string("\n") + Tr(c.details) : std::string());
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

}  // namespace

int main(int argc, char** argv) {
  ltb::platform::InitMessages();
  std::vector<std::string> a(argv + 1, argv + argc);
  if (a.empty()) {
    std::cerr << Usage();
    return 1;
  }
  if (IsHelp(a[0]) || (a[0] == "help" && a.size() == 1)) {
    std::cout << Usage();
    return 0;
  }
  if (a[0] == "--version" || a[0] == "-V") {
    std::cout << "ledora-ledger " << LTB_VERSION << "\n";
    return 0;
  }
  // One name a line, for the shell completion.
  if (a[0] == "--list-commands") {
    for (const Command& c : kCommands) std::cout << c.name << "\n";
    return 0;
  }
  const bool helpFirst = a[0] == "help";
  const Command* command = FindCommand(helpFirst ? a[1] : a[0]);
  if (command == nullptr) {
    return Fail(Format(Tr("unknown command %s: ledora-ledger --help lists the commands."),
                       (helpFirst ? a[1] : a[0]).c_str()));
  }
  if (helpFirst || std::any_of(a.begin() + 1, a.end(), IsHelp)) {
    std::cout << CommandHelp(*command);
    return 0;
  }
  return command->run(a);
}
