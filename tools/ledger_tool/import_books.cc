// import-books: a bookkeeper's journal file into a dataset.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include "ledger/ledger_writer.h"
#include "tools/books/book_amount.h"
#include "tools/books/book_import.h"
#include "tools/books/data_folder.h"
#include "tools/ledger_tool/books_arguments.h"
#include "tools/ledger_tool/books_commands.h"

#include "platform/messages.h"

namespace ltb::ledger_tool {

const char kImportBooksSynopsis[] =
    "HOME DATASET FILE [--layout NAME|FILE] [--dry-run]\n"
    "    [--encoding auto|cp932|utf-8] [--create-accounts]\n"
    "    [--new-account-class CODE] [--categories FILE]";
const char* const kImportBooksSummary =
    ltb::platform::MessageId("Import a journal file as bookkeepers export it.");
const char* const kImportBooksDetails = ltb::platform::MessageId(
    "The layout (default single-row) says which column holds what; accounts and\n"
    "departments are found by name, tax categories by their texts (the table\n"
    "tax-categories.tsv). Every problem is reported with its line, column and value,\n"
    "and then nothing is imported. --dry-run prints what would be imported.\n"
    "--create-accounts adds unknown accounts under the class of --new-account-class,\n"
    "of the layout, or asked for on the terminal. Shipped layouts and tables are in\n"
    "the folder \"books\" beside this program.\n");

namespace {

using platform::Format;
using platform::Tr;

bool ReadClass(const std::string& text, int32_t* out) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(text.c_str(), &end, 0);
  if (text.empty() || errno != 0 || !end || *end != '\0' || v > 0xFFFFFFFFull) return false;
  *out = static_cast<int32_t>(static_cast<uint32_t>(v));
  return true;
}

// Asks on the terminal for the class code of a new account.
bool AskClass(const std::string& name, int32_t* classCode) {
  if (!::isatty(STDIN_FILENO)) return false;
  for (;;) {
    std::cout << Format(Tr("The account \"%s\" is new. Type its class code (such as "
                           "0x40882040), or an empty line to leave it out: "),
                        name.c_str())
              << std::flush;
    std::string line;
    if (!std::getline(std::cin, line) || line.empty()) return false;
    if (ReadClass(line, classCode)) return true;
    std::cout << Tr("That is not a class code; type one such as 0x40882040.\n");
  }
}

std::string Yen(int64_t units) { return books::FormatBookAmount(units); }

void PrintSummary(const books::ImportSummary& s, const books::TaxTextTable& texts, bool dryRun) {
  std::cout << Format(dryRun ? Tr("Would import %ld journal rows from %ld rows of the file (read "
                                  "as %s).\n")
                             : Tr("Imported %ld journal rows from %ld rows of the file (read as "
                                  "%s).\n"),
                      s.entries, s.rows, books::EncodingName(s.encoding));
  if (!dryRun) return;
  std::cout << "\n" << Tr("Rows per month:\n");
  for (const auto& [month, n] : s.rowsPerMonth) {
    std::printf("  %04ld-%02ld %8ld\n", month / 100, month % 100, n);
  }
  std::cout << "\n" << Tr("Totals per tax category and rate (yen, tax excluded / tax):\n");
  for (const auto& [key, t] : s.byCategoryAndRate) {
    const auto [category, rate] = key;
    // TRANSLATORS: one line of the totals: category, number of sides, amount, tax, text.
    std::printf(Tr("  %3d %8ld sides %18s %16s  %s\n"), category, t.sides, Yen(t.amount).c_str(),
                Yen(t.tax).c_str(), texts.TextOf(category, rate, 0, false).c_str());
  }
  std::cout << "\n"
            << Format(Tr("Accounts that would be created: %zu\n"), s.createdAccounts.size());
  for (const std::string& a : s.createdAccounts) std::cout << "  " << a << "\n";
  std::cout << Format(Tr("Departments that would be created: %zu\n"), s.createdDepartments.size());
  for (const std::string& d : s.createdDepartments) std::cout << "  " << d << "\n";
}

}  // namespace

int CmdImportBooks(const std::vector<std::string>& a) {
  books::ImportOptions options;
  const OwnOption own = [&options](const std::vector<std::string>& args, size_t* i, int* status) {
    const std::string& arg = args[*i];
    if (arg == "--dry-run") {
      options.dryRun = true;
    } else if (arg == "--create-accounts") {
      options.createAccounts = true;
    } else if (arg == "--new-account-class" && *i + 1 < args.size()) {
      int32_t cls = 0;
      if (!ReadClass(args[++*i], &cls)) {
        *status = Fail(Format(Tr("The class code \"%s\" is not a number such as 0x40882040; "
                                 "correct --new-account-class."),
                              args[*i].c_str()));
      }
      options.newAccountClass = cls;
    } else {
      return false;
    }
    return true;
  };
  BooksArguments args;
  int status = 0;
  if (!ReadBooksArguments(a, "import-books", kImportBooksSynopsis, own, &args, &status)) {
    return status;
  }
  options.encoding = args.encoding;
  options.askClass = AskClass;
  books::Layout layout;
  books::TaxTextTable texts;
  std::string error;
  if (!books::LoadLayout(books::LayoutPath(args.layoutName), &layout, &error) ||
      !texts.Load(args.categories, &error)) {
    return Fail(error);
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(args.file.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) {
    return Fail(Format(Tr("The file %s cannot be read: %s. Check the file name."),
                       args.file.c_str(), std::strerror(errno)));
  }
  auto db = ledger::LedgerDb::Open(args.home, ledger::LedgerDb::Mode::kReadWrite, &error);
  if (!db) return Fail(error);
  books::ImportSummary summary;
  const books::ImportResult r =
      books::ImportBooks(*db, args.dataset, file.get(), layout, texts, options, &summary);
  if (r.problemCount > 0) {
    for (const std::string& p : r.problems) std::cerr << args.file << ": " << p << "\n";
    if (r.problemCount > static_cast<long>(r.problems.size())) {
      std::cerr << args.file << ": "
                << Format(Tr("%ld more problems are not shown.\n"),
                          r.problemCount - static_cast<long>(r.problems.size()));
    }
    if (r.problemCount == 1) {
      return Fail(
          Tr("Nothing was imported: the file has a problem (listed above); correct the "
             "file and import it again."));
    }
    return Fail(Format(Tr("Nothing was imported: the file has %ld problems (listed above); correct "
                          "the file and import it again."),
                       r.problemCount));
  }
  PrintSummary(summary, texts, options.dryRun);
  return 0;
}

}  // namespace ltb::ledger_tool
