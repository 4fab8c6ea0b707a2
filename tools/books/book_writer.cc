#include "tools/books/book_writer.h"

#include "platform/messages.h"

namespace ltb::books {

namespace {
constexpr size_t kBatch = 1024;   // writes handed over at once
constexpr size_t kMaxQueued = 8;  // batches waiting at most
}  // namespace

BookWriter::BookWriter(ledger::LedgerDb& db, int dataset)
    : db_(db), dataset_(dataset), insert_(db) {}

BookWriter::~BookWriter() {
  if (thread_.joinable()) Finish();
}

void BookWriter::Start() {
  thread_ = std::thread([this] { Run(); });
}

void BookWriter::AddAccount(int line, const ledger::AccountRecordRow& row) {
  Push(Account{line, row});
}

void BookWriter::AddDepartment(int line, const ledger::DepartmentRecordRow& row) {
  Push(Department{line, row});
}

void BookWriter::AddEntry(long entryNo, BookEntry entry) { Push(Entry{entryNo, std::move(entry)}); }

void BookWriter::Push(Op op) {
  batch_.push_back(std::move(op));
  if (batch_.size() < kBatch) return;
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return queue_.size() < kMaxQueued; });
  queue_.push_back(std::move(batch_));
  batch_.clear();
  changed_.notify_all();
}

std::vector<WriteFailure> BookWriter::Finish() {
  {
    std::lock_guard lock(mutex_);
    if (!batch_.empty()) queue_.push_back(std::move(batch_));
    batch_.clear();
    done_ = true;
    changed_.notify_all();
  }
  if (thread_.joinable()) thread_.join();
  return std::move(failures_);
}

void BookWriter::Run() {
  for (;;) {
    std::vector<Op> ops;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return !queue_.empty() || done_; });
      if (queue_.empty()) return;
      ops = std::move(queue_.front());
      queue_.pop_front();
      changed_.notify_all();
    }
    for (Op& op : ops) Write(op);
  }
}

void BookWriter::Write(Op& op) {
  // After a failure nothing will be kept: the rest is not written.
  if (failed_.load()) return;
  std::string error;
  if (auto* a = std::get_if<Account>(&op)) {
    if (!ledger::AddAccount(db_, dataset_, a->row, &error)) {
      failures_.push_back({a->line, platform::Format(platform::Tr("the new account \"%s\" cannot "
                                                                  "be added. %s"),
                                                     a->row.name.c_str(), error.c_str())});
    }
  } else if (auto* d = std::get_if<Department>(&op)) {
    if (!ledger::AddDepartment(db_, dataset_, d->row, &error)) {
      failures_.push_back({d->line, platform::Format(platform::Tr("the new department \"%s\" "
                                                                  "cannot be added. %s"),
                                                     d->row.name.c_str(), error.c_str())});
    }
  } else if (auto* e = std::get_if<Entry>(&op)) {
    const BookEntry& b = e->entry;
    if (!insert_.Add(dataset_, e->entryNo, b.date, b.slot, b.closing, b.description, b.sides[0],
                     b.sides[1])) {
      failures_.push_back(
          {b.line, platform::Format(platform::Tr("the ledger refused the entry: %s; check the "
                                                 "entry number and the accounts."),
                                    insert_.error().c_str())});
    }
  }
  if (!failures_.empty()) failed_.store(true);
}

}  // namespace ltb::books
