#include "ledger/journal_insert.h"

namespace ltb::ledger {

JournalInsert::JournalInsert(const LedgerDb& db)
    : q_(db.handle(),
         "INSERT INTO journal (dataset, entry_no, entry_date, month_slot, closing,"
         " description, debit_account, debit_dept, debit_amount, debit_tax,"
         " debit_category, debit_rate, debit_btype, credit_account, credit_dept,"
         " credit_amount, credit_tax, credit_category, credit_rate, credit_btype)"
         " VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16,?17,?18,?19,?20)") {}

bool JournalInsert::Add(int dataset, long entryNo, long date, int slot, bool closing,
                        std::string_view description, const JournalSideRow& debit,
                        const JournalSideRow& credit) {
  q_.Reset();
  q_.Bind(1, dataset)
      .Bind(2, entryNo)
      .Bind(3, date)
      .Bind(4, slot)
      .Bind(5, closing ? 1 : 0)
      .BindText(6, description);
  int i = 7;
  for (const JournalSideRow* s : {&debit, &credit}) {
    q_.Bind(i, s->account)
        .Bind(i + 1, s->department)
        .Bind(i + 2, s->amount)
        .Bind(i + 3, s->tax)
        .Bind(i + 4, s->category)
        .Bind(i + 5, s->rate)
        .Bind(i + 6, s->businessType);
    i += 7;
  }
  return q_.Run();
}

}  // namespace ltb::ledger
