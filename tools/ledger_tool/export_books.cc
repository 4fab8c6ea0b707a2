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

int CmdExportBooks(const std::vector<std::string>& a) {
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
        std::cerr << "ledora-ledger: The encoding \"" << a[i]
                  << "\" is not known; use auto, cp932 or utf-8.\n";
        return 1;
      }
    } else if (arg.rfind("--", 0) == 0) {
      std::cerr << "ledora-ledger: The option " << arg
                << " is unknown or lacks its value; see export-books --help.\n";
      return 1;
    } else {
      positional.push_back(arg);
    }
  }
  char* end = nullptr;
  const long dataset = positional.size() == 3 ? std::strtol(positional[1].c_str(), &end, 10) : 0;
  if (positional.size() != 3 || !end || *end != '\0' || dataset <= 0) {
    std::cerr << "Usage: ledora-ledger export-books " << kExportBooksSynopsis << "\n"
              << "ledora-ledger: export-books needs HOME, a dataset number and FILE.\n";
    return 1;
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
    std::cerr << "ledora-ledger: " << error << "\n";
    return 1;
  }
  std::cout << "Exported " << rows << " journal rows to " << positional[2] << ".\n";
  return 0;
}

}  // namespace ltb::ledger_tool
