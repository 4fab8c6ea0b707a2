// bench_import: times the ledger tool's journal imports on a generated
// ledger of N entries and prints the figures.
//
//   bench_import [--tool PATH] [--entries N] [--runs N] [--work DIR]
//
// It generates a ledger (kept in DIR, default $TMPDIR/ltb-bench-import),
// writes its journal once with export-books (the single-row layout, CP932)
// and once as an import-journal CSV, and then, --runs times each, imports
// each file into a copy of the ledger whose journal is empty, through the
// real ledora-ledger. Half the entries are imported as well, to show that
// memory does not grow with the file. Figures are medians: wall time, the
// child's processor time and its peak resident set size.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ledger/ledger_db.h"
#include "ledger/sql_statement.h"
#include "tools/bench/child_process.h"
#include "tools/bench/ledger_generator.h"

namespace {

namespace fs = std::filesystem;
using ltb::bench::ChildRun;

constexpr char kUsage[] =
    "usage: bench_import [--tool PATH] [--entries N] [--runs N] [--work DIR]\n"
    "Times import-books and import-journal of ledora-ledger on a generated ledger.\n";

bool Check(bool ok, const std::string& what) {
  if (!ok) std::fprintf(stderr, "bench_import: %s\n", what.c_str());
  return ok;
}

// A copy of the generated ledger with an empty journal.
bool EmptyCopy(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::remove_all(to, ec);
  fs::create_directories(to);
  fs::copy_file(from + "/ledger.db", to + "/ledger.db", ec);
  if (ec) return false;
  std::string error;
  auto db = ltb::ledger::LedgerDb::Open(to, ltb::ledger::LedgerDb::Mode::kReadWrite, &error);
  return db && db->Exec("DELETE FROM journal", &error) && db->Exec("VACUUM", &error);
}

// The journal of the generated dataset in import-journal's columns,
// rows [0, limit).
bool WriteJournalCsv(const std::string& home, const std::string& path, long limit) {
  std::string error;
  auto db = ltb::ledger::LedgerDb::Open(home, ltb::ledger::LedgerDb::Mode::kReadOnly, &error);
  if (!db) return false;
  std::ofstream out(path, std::ios::binary);
  out << "entry_no,date,closing,description,debit_account,debit_department,debit_amount,"
         "debit_tax,debit_category,debit_rate,debit_business_type,credit_account,"
         "credit_department,credit_amount,credit_tax,credit_category,credit_rate,"
         "credit_business_type\n";
  ltb::ledger::SqlStatement q(
      db->handle(),
      "SELECT entry_no, entry_date, closing, description, debit_account, debit_dept,"
      " debit_amount, debit_tax, debit_category, debit_rate, debit_btype, credit_account,"
      " credit_dept, credit_amount, credit_tax, credit_category, credit_rate, credit_btype"
      " FROM journal WHERE dataset = ?1 ORDER BY entry_no LIMIT ?2");
  q.Bind(1, ltb::bench::kGeneratedDatasetNo).Bind(2, limit);
  auto yen = [](int64_t units) {
    char text[40];
    std::snprintf(text, sizeof text, "%lld.%04lld", static_cast<long long>(units / 10000),
                  static_cast<long long>((units < 0 ? -units : units) % 10000));
    return std::string(units < 0 && units > -10000 ? "-" : "") + text;
  };
  while (q.Step()) {
    out << q.Int(0) << ',' << q.Int(1) << ',' << q.Int(2) << ",\"" << q.Text(3) << '"';
    for (int s = 0; s < 2; ++s) {
      const int b = 4 + 7 * s;
      out << ',' << q.Int(b) << ',' << q.Int(b + 1) << ',' << yen(q.Int(b + 2)) << ','
          << yen(q.Int(b + 3)) << ',' << q.Int(b + 4) << ',' << q.Int(b + 5) / 100.0 << ','
          << q.Int(b + 6);
    }
    out << '\n';
  }
  return q.ok() && out.good();
}

// The first `lines` lines of `from`.
bool Head(const std::string& from, const std::string& to, long lines) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream out(to, std::ios::binary);
  std::string line;
  for (long i = 0; i < lines && std::getline(in, line); ++i) out << line << '\n';
  return out.good();
}

struct Figures {
  double wall = 0, cpu = 0;
  long rssKb = 0;
};

bool Time(const std::string& tool, const std::string& command, const std::string& generated,
          const std::string& work, const std::string& file, int runs, Figures* figures) {
  std::vector<double> wall, cpu, rss;
  for (int i = 0; i < runs; ++i) {
    const std::string home = work + "/target";
    if (!Check(EmptyCopy(generated, home), "cannot copy the ledger")) return false;
    ChildRun run;
    std::string error;
    if (!Check(ltb::bench::RunChild({tool, command, home, "1", file}, {}, work + "/output.txt",
                                    &run, &error),
               error) ||
        !Check(run.exitStatus == 0, command + " failed; see " + work + "/output.txt")) {
      return false;
    }
    wall.push_back(run.wallSeconds);
    cpu.push_back(run.cpuSeconds);
    rss.push_back(static_cast<double>(run.peakRssKb));
  }
  figures->wall = ltb::bench::Median(wall);
  figures->cpu = ltb::bench::Median(cpu);
  figures->rssKb = static_cast<long>(ltb::bench::Median(rss));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string tool = LTB_BENCH_DEFAULT_TOOL;
  long entries = 1000000;
  int runs = 3;
  const char* tmp = std::getenv("TMPDIR");
  std::string work = std::string(tmp && *tmp ? tmp : "/tmp") + "/ltb-bench-import";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (i + 1 >= argc) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    const std::string v = argv[++i];
    if (a == "--tool") {
      tool = v;
    } else if (a == "--entries") {
      entries = std::atol(v.c_str());
    } else if (a == "--runs") {
      runs = std::atoi(v.c_str());
    } else if (a == "--work") {
      work = v;
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (entries < 2 || runs < 1) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  fs::create_directories(work);
  const std::string generated = work + "/ledger-" + std::to_string(entries);
  std::string error;
  if (!fs::exists(generated + "/ledger.db")) {
    ltb::bench::LedgerShape shape;
    shape.entries = entries;
    if (!Check(ltb::bench::GenerateLedger(generated, shape, &error), error)) return 1;
  }
  const std::string books = work + "/books-" + std::to_string(entries) + ".csv";
  const std::string journal = work + "/journal-" + std::to_string(entries) + ".csv";
  ChildRun run;
  if (!Check(ltb::bench::RunChild({tool, "export-books", generated, "1", books}, {},
                                  work + "/output.txt", &run, &error) &&
                 run.exitStatus == 0,
             "export-books failed: " + error) ||
      !Check(WriteJournalCsv(generated, journal, entries), "cannot write " + journal)) {
    return 1;
  }
  const double exportSeconds = run.wallSeconds;
  const std::string halfBooks = work + "/books-half.csv", halfJournal = work + "/journal-half.csv";
  if (!Check(Head(books, halfBooks, entries / 2 + 1) && Head(journal, halfJournal, entries / 2 + 1),
             "cannot write the half files")) {
    return 1;
  }
  std::printf("ledora-ledger %s\n%ld entries, median of %d runs; export-books took %.2f s\n\n",
              tool.c_str(), entries, runs, exportSeconds);
  std::printf("%-15s %10s %10s %10s %12s %14s\n", "command", "rows", "wall s", "cpu s", "peak MB",
              "rows per s");
  const struct {
    const char* command;
    std::string file;
    long rows;
  } cases[] = {
      {"import-books", halfBooks, entries / 2},
      {"import-books", books, entries},
      {"import-journal", halfJournal, entries / 2},
      {"import-journal", journal, entries},
  };
  for (const auto& c : cases) {
    Figures f;
    if (!Time(tool, c.command, generated, work, c.file, runs, &f)) return 1;
    std::printf("%-15s %10ld %10.2f %10.2f %12.1f %14.0f\n", c.command, c.rows, f.wall, f.cpu,
                static_cast<double>(f.rssKb) / 1024.0, static_cast<double>(c.rows) / f.wall);
    std::fflush(stdout);
  }
  return 0;
}
