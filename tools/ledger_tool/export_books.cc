// export-books: a dataset's journal as a bookkeeper's journal file.
#include <iostream>

#include "tools/books/book_export.h"
#include "tools/books/data_folder.h"
#include "tools/ledger_tool/books_arguments.h"
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
  using platform::Format;
  using platform::Tr;
  BooksArguments args;
  int status = 0;
  const OwnOption none = [](const std::vector<std::string>&, size_t*, int*) { return false; };
  if (!ReadBooksArguments(a, "export-books", kExportBooksSynopsis, none, &args, &status)) {
    return status;
  }
  books::Layout layout;
  books::TaxTextTable texts;
  std::string error;
  std::unique_ptr<ledger::LedgerDb> db;
  long rows = 0;
  if (!books::LoadLayout(books::LayoutPath(args.layoutName), &layout, &error) ||
      !texts.Load(args.categories, &error) ||
      !(db = ledger::LedgerDb::Open(args.home, ledger::LedgerDb::Mode::kReadOnly, &error)) ||
      !books::ExportBooks(*db, args.dataset, args.file, layout, texts, args.encoding, &rows,
                          &error)) {
    return Fail(error);
  }
  std::cout << Format(Tr("Exported %ld journal rows to %s.\n"), rows, args.file.c_str());
  return 0;
}

}  // namespace ltb::ledger_tool
