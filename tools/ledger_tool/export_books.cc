// export-books: a dataset's journal as a bookkeeper's journal file.
#include <cstdlib>
#include <iostream>

#include "tools/books/book_export.h"
#include "tools/books/data_folder.h"
#include "tools/ledger_tool/books_commands.h"

#include "platform/messages.h"

namespace ltb::ledger_tool {

const char kExportBooksSynopsis[] =
    "HOME DATASET FILE [--layout NAME|FILE]\n"
    "    [--encoding auto|cp932|utf-8] [--categories FILE]";
const char* const kExportBooksSummary =
    ltb::platform::MessageId("Write a dataset's journal as a journal file.");
const char* const kExportBooksDetails = ltb::platform::MessageId(
    "The layout (default single-row) is one that import-books reads back: accounts and\n"
    "departments by name, tax categories as texts of the table tax-categories.tsv.\n"
    "FILE is replaced as a whole.\n");

namespace {

int Fail(const std::string& message) {
  std::cerr << "ledora-ledger: " << message << "\n";
  return 1;
}

}  // namespace

int CmdExportBooks(const std::vector<std::string>& a) {
  using platform::Format;
  using platform::Tr;
  std::vector<std::string> positional;
  std::string layoutName = "single-row";
  std::string categories = books::BooksDataFolder() + "/tax-categories.tsv";
  books::Encoding encoding = books::Encoding::kAuto;
  for (size_t i = 1; i < a.size(); ++i) {
    const std::string& arg = a[i];
    const bool hasValue = i + 1 < a.size();
    if (arg == "--layout" && hasValue) {
      layoutName = a[++i];
    } else if (arg == "--categories" && hasValue) {
      categories = a[++i];
    } else if (arg == "--encoding" && hasValue) {
      if (!books::ParseEncoding(a[++i], &encoding)) {
        return Fail(Format(Tr("The encoding \"%s\" is not known; use auto, cp932 or utf-8."),
                           a[i].c_str()));
      }
    } else if (arg.rfind("--", 0) == 0) {
      return Fail(Format(Tr("The option %s is unknown or lacks its value; see %s --help."),
                         arg.c_str(), "export-books"));
    } else {
      positional.push_back(arg);
    }
  }
  char* end = nullptr;
  const long dataset = positional.size() == 3 ? std::strtol(positional[1].c_str(), &end, 10) : 0;
  if (positional.size() != 3 || !end || *end != '\0' || dataset <= 0) {
    std::cerr << Format(Tr("Usage: ledora-ledger %s %s\n"), "export-books", kExportBooksSynopsis);
    return Fail(Format(Tr("%s needs HOME, a dataset number and FILE."), "export-books"));
  }
  books::Layout layout;
  books::TaxTextTable texts;
  std::string error;
  std::unique_ptr<ledger::LedgerDb> db;
  long rows = 0;
  if (!books::LoadLayout(books::LayoutPath(layoutName), &layout, &error) ||
      !texts.Load(categories, &error) ||
      !(db = ledger::LedgerDb::Open(positional[0], ledger::LedgerDb::Mode::kReadOnly, &error)) ||
      !books::ExportBooks(*db, static_cast<int>(dataset), positional[2], layout, texts, encoding,
                          &rows, &error)) {
    return Fail(error);
  }
  std::cout << Format(Tr("Exported %ld journal rows to %s.\n"), rows, positional[2].c_str());
  return 0;
}

}  // namespace ltb::ledger_tool
