// The standard chart of accounts added to a dataset.
#include "ledger/ledger_writer.h"
#include "platform/messages.h"
#include "tools/books/data_folder.h"
#include "tools/books/standard_chart.h"
#include "tools/ledger_tool/books_commands.h"

namespace ltb::ledger_tool {

bool AddStandardChart(ledger::LedgerDb& db, int dataset, std::string* error) {
  std::vector<ledger::AccountRecordRow> accounts;
  if (!books::LoadStandardChart(books::BooksDataFolder() + "/standard-chart.tsv", &accounts,
                                error)) {
    return false;
  }
  for (const ledger::AccountRecordRow& row : accounts) {
    if (!ledger::AddAccount(db, dataset, row, error)) {
      *error = platform::Format(platform::Tr("The standard chart's account %d %s cannot be "
                                             "added. %s"),
                                row.code, row.name.c_str(), error->c_str());
      return false;
    }
  }
  return true;
}

}  // namespace ltb::ledger_tool
