// The questions the run driver asks before the aggregation: sixth-business-
// type entries, entries at 10%, and entries with undetermined import
// categories. Each builds its own journal walker and deletes it again.
#include "aggregate/add_tax.h"
#include "aggregate/search_condition.h"

namespace ltb::aggregate {
namespace {

// Source name and places under which the checks register host statuses.
constexpr const char* kSourceName = "AddTax";
constexpr unsigned long kSixthTypeCreateLine = 3772;
constexpr unsigned long kSixthTypeQueryLine = 3782;
constexpr unsigned long kTenPercentCreateLine = 3727;
constexpr unsigned long kTenPercentQueryLine = 3753;
// Bit of the rate flags that marks entries at 10%.
constexpr long kTenPercentFlag = 8;

std::unique_ptr<host::ClRuleShiwake> NewAttachedJournalWalker(host::HostLibrary& host) {
  std::unique_ptr<host::ClRuleShiwake> walker = host.NewRuleShiwake();
  if (walker) host::AttachToSelected(host, *walker);
  return walker;
}

}  // namespace

long AddTax::CountSixthTypeEntries(int type, int32_t* count) {
  host::ClMsgMgr& msg = host_.MsgMgr();
  std::unique_ptr<host::ClRuleShiwake> walker = NewAttachedJournalWalker(host_);
  if (!walker) return msg.SetLastError(host::kCannotCreate, kSourceName, kSixthTypeCreateLine);
  long n = 0;
  const long code = walker->CheckExistSwkByJigyoBunrui(findCondition_.data(), type, &n);
  walker.reset();
  *count = static_cast<int32_t>(n);
  if (code == host::kOk) return msg.SetLastError(host::kOk, nullptr, 0);
  return msg.SetLastError(code, kSourceName, kSixthTypeQueryLine);
}

long AddTax::CheckTenPercentEntries(int32_t* found) {
  host::ClMsgMgr& msg = host_.MsgMgr();
  std::unique_ptr<host::ClRuleShiwake> walker = NewAttachedJournalWalker(host_);
  if (!walker) return msg.SetLastError(host::kCannotCreate, kSourceName, kTenPercentCreateLine);
  long flags = 0;
  const long code = walker->CheckExistSwkByZeiRate(findCondition_.data(), &flags, 1);
  walker.reset();
  *found = (flags & kTenPercentFlag) != 0 ? 1 : 0;
  if (code == host::kOk) return msg.SetLastError(host::kOk, nullptr, 0);
  return msg.SetLastError(code, kSourceName, kTenPercentQueryLine);
}

int AddTax::HasImportCategoryEntries() {
  SearchCondition condition;
  condition.ImportCategory(findCondition_.data());
  std::unique_ptr<host::ClRuleShiwake> walker = NewAttachedJournalWalker(host_);
  if (!walker) return 0;
  long count = 0;
  const long code = walker->GetSwkCount(condition.Items(), nullptr, &count);
  return code == host::kOk && count != 0 ? 1 : 0;
}

}  // namespace ltb::aggregate
