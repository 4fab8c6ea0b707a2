#include "ledger/ledger_connect.h"

#include <sys/stat.h>

#include <cstdlib>

#include "host/message_box_flags.h"
#include "ledger/host_error_codes.h"
#include "ledger/sql_statement.h"
#include "platform/cp932.h"
#include "platform/messages.h"

namespace ltb::ledger {

namespace {
constexpr std::string_view kPackageToken = "ES_APRPACKAGENAME";
constexpr char kDefaultPackageName[] = "Ledora";
}  // namespace

void LedgerConnect::SetCaption(const char* caption) { session_.caption = caption ? caption : ""; }

long LedgerConnect::Fail(long code, const std::string& utf8Message) {
  std::string text;
  platform::Utf8ToCp932(utf8Message, &text);
  session_.Show(session_.owner, text.c_str(), session_.caption.c_str(),
                host::kMbOk | host::kMbIconWarning);
  session_.db.reset();
  return code;
}

std::string LedgerConnect::ResolveUserId() const {
  if (!session_.options.userId.empty()) return session_.options.userId;
  if (!session_.options.process.ledgerUser.empty()) return session_.options.process.ledgerUser;
  std::string configured = session_.db->Setting("default_user", "");
  if (!configured.empty()) return configured;
  SqlStatement q(session_.db->handle(), "SELECT user_id FROM users ORDER BY rowid LIMIT 1");
  return q.Step() ? q.Text(0) : std::string();
}

long LedgerConnect::Initiate() {
  if (session_.db) session_.retired = std::move(session_.db);
  session_.optLink.db = nullptr;
  std::string home = session_.options.home;
  if (home.empty()) {
    home = SampleLedgerHome(session_.options.process);
    struct stat st;
    std::string why;
    if (::stat(LedgerFilePath(home).c_str(), &st) != 0 && !CreateSampleLedger(home, &why)) {
      return Fail(
          kErrLedgerUnreadable,
          platform::Format(
              platform::Tr(
                  "The sample ledger cannot be created: %s. Give the folder of a ledger with "
                  "--ledger or LEDORA_HOME."),
              why.c_str()));
    }
  }
  std::string error;
  session_.db = LedgerDb::Open(home, LedgerDb::Mode::kReadOnly, &error);
  if (!session_.db) return Fail(kErrLedgerUnreadable, error);
  session_.db->set_stop_check(session_.stopCheck);

  std::string user = ResolveUserId();
  if (user.empty()) {
    return Fail(
        kErrUnknownUser,
        platform::Format(platform::Tr("The ledger file %s has no users. Add one with ledora-ledger "
                                      "select."),
                         session_.db->path().c_str()));
  }
  SqlStatement q(session_.db->handle(),
                 "SELECT u.selected_no, d.no FROM users u"
                 " LEFT JOIN datasets d ON d.no = u.selected_no WHERE u.user_id = ?1");
  q.BindText(1, user);
  if (!q.Step()) {
    if (!q.ok()) {
      return Fail(kErrDatabase,
                  platform::Format(platform::Tr("The ledger file %s cannot be read: %s."),
                                   session_.db->path().c_str(), q.error().c_str()));
    }
    return Fail(
        kErrUnknownUser,
        platform::Format(platform::Tr("The user %s has no entry in the ledger file %s. Check "
                                      "--user or LEDORA_USER."),
                         user.c_str(), session_.db->path().c_str()));
  }
  if (q.IsNull(1)) {
    return Fail(kErrNoDataset,
                platform::Format(
                    platform::Tr("The user %s has selected dataset %lld, which the ledger file "
                                 "%s does not hold. Select a dataset of the ledger, or run with "
                                 "--dataset."),
                    user.c_str(), static_cast<long long>(q.Int(0)), session_.db->path().c_str()));
  }
  int selected = static_cast<int>(q.Int(0));
  if (session_.options.datasetNo != 0) {
    selected = session_.options.datasetNo;
    SqlStatement d(session_.db->handle(), "SELECT no FROM datasets WHERE no = ?1");
    d.Bind(1, selected);
    if (!d.Step()) {
      return Fail(
          d.ok() ? kErrNoDataset : kErrDatabase,
          platform::Format(
              platform::Tr("The ledger file %s holds no dataset %d. Give the number of one of its "
                           "datasets (ledora-ledger datasets lists them)."),
              session_.db->path().c_str(), selected));
    }
  }
  session_.db->set_selected_dataset(selected);
  session_.userId = user;
  session_.optLink.db = session_.db.get();
  loggedOut_ = false;
  return host::kOk;
}

long LedgerConnect::ExpSysLink() {
  if (!session_.db) return kErrNotConnected;
  std::string answer = session_.db->Setting("link_answer", "0");
  char* end = nullptr;
  long value = std::strtol(answer.c_str(), &end, 10);
  if (end == answer.c_str()) return kErrDatabase;
  return value;
}

std::string LedgerConnect::ReplacePackageName(std::string_view text, std::string_view name) {
  std::string out;
  size_t from = 0;
  for (;;) {
    size_t at = platform::FindText(text, kPackageToken, from);
    if (at == std::string_view::npos) break;
    out.append(text.substr(from, at - from));
    out.append(name);
    from = at + kPackageToken.size();
  }
  out.append(text.substr(from));
  return out;
}

int LedgerConnect::DispMsg(host::WindowHandle owner, const char* text, const char* caption,
                           unsigned type) {
  std::string name = kDefaultPackageName;
  if (session_.db) {
    std::string configured = session_.db->Setting("package_name", kDefaultPackageName);
    platform::Utf8ToCp932(configured, &name);
  }
  std::string shown = ReplacePackageName(text ? text : "", name);
  return session_.Show(owner, shown.c_str(), caption ? caption : "", type);
}

void LedgerConnect::Terminate() {
  session_.optLink.db = nullptr;
  if (session_.db) session_.retired = std::move(session_.db);
}

}  // namespace ltb::ledger
