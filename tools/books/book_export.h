// Writes the journal of a dataset as a bookkeeper's journal file in a
// Layout, the form import-books reads back: accounts and departments by
// name, tax categories as the first text of the tax-category table with the
// rate (and business type) appended.
#pragma once

#include <string>

#include "ledger/ledger_db.h"
#include "tools/books/book_layout.h"
#include "tools/books/tax_text_table.h"

namespace ltb::books {

// Writes dataset `dataset` of `db` to `path` (replaced as a whole: written
// beside it and renamed into place). `encoding` kAuto takes the layout's,
// and CP932 when that is auto too. False with *error when a row cannot be
// written in the layout (an account without a name, a category the table
// has no text for, a text the encoding cannot hold) or the file cannot be
// written; the file is then left as it was.
bool ExportBooks(const ledger::LedgerDb& db, int dataset, const std::string& path,
                 const Layout& layout, const TaxTextTable& taxTexts, Encoding encoding, long* rows,
                 std::string* error);

}  // namespace ltb::books
