// Writes what an import adds to the ledger (new accounts, new departments,
// journal rows) on a thread of its own, in the order it is given, so that
// reading and checking the file and writing the database share two cores.
// The queue between them is bounded: memory does not grow with the file.
// The ledger connection must not be used by anyone else between Start and
// Finish.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "ledger/journal_insert.h"
#include "ledger/ledger_db.h"
#include "ledger/ledger_writer.h"

namespace ltb::books {

// One journal row of an entry, ready for the ledger.
struct BookEntry {
  int line = 0;  // the file line it came from
  long date = 0;
  int slot = 0;
  bool closing = false;
  std::string description;
  ledger::JournalSideRow sides[2];
};

// A write the ledger refused.
struct WriteFailure {
  int line = 0;
  std::string message;  // a complete sentence
};

class BookWriter {
 public:
  BookWriter(ledger::LedgerDb& db, int dataset);
  ~BookWriter();  // finishes the thread if Finish was not called

  bool ok() const { return insert_.ok(); }
  std::string error() const { return insert_.error(); }

  void Start();
  void AddAccount(int line, const ledger::AccountRecordRow& row);
  void AddDepartment(int line, const ledger::DepartmentRecordRow& row);
  void AddEntry(long entryNo, BookEntry entry);
  // Whether a write has failed so far.
  bool failed() const { return failed_.load(); }
  // Waits for every write queued and stops the thread; the failures.
  std::vector<WriteFailure> Finish();

 private:
  struct Account {
    int line;
    ledger::AccountRecordRow row;
  };
  struct Department {
    int line;
    ledger::DepartmentRecordRow row;
  };
  struct Entry {
    long entryNo;
    BookEntry entry;
  };
  using Op = std::variant<Account, Department, Entry>;

  void Push(Op op);
  void Run();
  void Write(Op& op);

  ledger::LedgerDb& db_;
  const int dataset_;
  ledger::JournalInsert insert_;
  std::vector<Op> batch_;
  std::deque<std::vector<Op>> queue_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool done_ = false;
  std::thread thread_;
  std::atomic<bool> failed_{false};
  std::vector<WriteFailure> failures_;  // written by the thread only
};

}  // namespace ltb::books
