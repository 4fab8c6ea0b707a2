// The walkers of the fake host: journal entries, tax summary lines,
// account sums and fixed assets from the scripted data, with failure
// injection and a count of the walkers alive.
#include <algorithm>

#include "host/testing/condition_match.h"
#include "host/testing/fake_host.h"

namespace ltb::testing {

using host::StFINDINFO;

namespace {

// Counts the walker objects alive, as the host would hold their resources.
class LiveCount {
 public:
  explicit LiveCount(FakeHost& h) : host_(h) {
    ++host_.liveWalkers;
    ++host_.walkersCreated;
  }
  ~LiveCount() { --host_.liveWalkers; }

 protected:
  FakeHost& host_;
};

template <typename Base>
class FakeWalker : public Base, protected LiveCount {
 public:
  explicit FakeWalker(FakeHost& h) : LiveCount(h) {}
  void AttachSetMgr(host::ClSetMgr*) override {}
  void SetCurDataID(const char*) override {}
  void AttachOptLink(host::ClOptLink*) override {}
};

class FakeShinkoku : public FakeWalker<host::ClRuleShohizeiShinkoku> {
 public:
  using FakeWalker::FakeWalker;
  long SumTax(uint8_t filingClass, const StFINDINFO*, host::StTAXREPORTRATEINFO* rates,
              host::StTAXREPORTBUSINESSTYPEINFO* types) override {
    ++host_.taxReportCalls;
    host_.lastFilingClass = filingClass;
    if (host_.fillTaxReport) host_.fillTaxReport(rates, types, host_.taxRateCount);
    return 0;
  }
};

class FakeShohizei : public FakeWalker<host::ClRuleShohizei> {
 public:
  using FakeWalker::FakeWalker;
  long MoveReady(int, const int16_t* from, const int16_t* to, const long* rate, const void*,
                 int taxIncluded) override {
    host_.taxSumReadies.push_back({*from, *to, *rate, taxIncluded});
    lines_.clear();
    for (const auto& l : host_.taxSumLines) {
      if (l.rate == *rate) lines_.push_back(&l);
    }
    next_ = 0;
    return 0;
  }
  long GetSumInfoCount(long* count) override {
    *count = static_cast<long>(lines_.size());
    return 0;
  }
  long MoveNext(host::StTAXSUMINFO* line) override {
    if (next_ >= lines_.size()) return host::kEndOfData;
    const size_t i = next_++;
    if (static_cast<long>(i) == host_.taxSumFailAt) return 7;
    *line = lines_[i]->record;
    return 0;
  }
  long MoveFinish() override {
    host_.Log("Shohizei.MoveFinish");
    return 0;
  }

 private:
  std::vector<const FakeTaxSumLine*> lines_;
  size_t next_ = 0;
};

class FakeShiwake : public FakeWalker<host::ClRuleShiwake> {
 public:
  using FakeWalker::FakeWalker;
  long GetSwkCount(const StFINDINFO* condition, const void*, long* count) override {
    if (host_.swkCountStatus != 0) return host_.swkCountStatus;
    *count = static_cast<long>(std::count_if(
        host_.journal.begin(), host_.journal.end(),
        [&](const FakeJournalEntry& e) { return host_.JournalMatches(e, condition); }));
    return 0;
  }
  long MoveReady(const StFINDINFO* condition, const void*, const void*, int) override {
    selected_.clear();
    for (size_t i = 0; i < host_.journal.size(); ++i) {
      if (host_.JournalMatches(host_.journal[i], condition)) selected_.push_back(i);
    }
    next_ = 0;
    return 0;
  }
  long MoveNext(host::StSWKTINFO* entry) override {
    if (next_ >= selected_.size()) return host::kEndOfData;
    const size_t i = selected_[next_++];
    if (static_cast<long>(i) == host_.journalFailAt) return host_.journalFailStatus;
    *entry = host_.journal[i].record;
    return 0;
  }
  long MoveFinish() override {
    host_.Log("Shiwake.MoveFinish");
    return 0;
  }
  long CheckExistSwkByZeiRate(const StFINDINFO* condition, long* flags, int) override {
    if (host_.zeiRateStatus != 0) return host_.zeiRateStatus;
    for (const auto& e : host_.journal) {
      if (e.ratePercent == 10 && host_.JournalMatches(e, condition)) *flags |= 8;
    }
    return 0;
  }
  long CheckExistSwkByJigyoBunrui(const StFINDINFO* condition, int type, long* count) override {
    if (host_.jigyoBunruiStatus != 0) return host_.jigyoBunruiStatus;
    *count = static_cast<long>(
        std::count_if(host_.journal.begin(), host_.journal.end(), [&](const FakeJournalEntry& e) {
          return e.businessType == type && host_.JournalMatches(e, condition);
        }));
    return 0;
  }

 private:
  std::vector<size_t> selected_;
  size_t next_ = 0;
};

class FakeKamoku : public FakeWalker<host::ClRuleKamoku> {
 public:
  using FakeWalker::FakeWalker;
  long MoveReady(int, int departmentType, int, const StFINDINFO*,
                 const host::StBUMONINFO* department, int) override {
    host_.kamokuDepartmentTypes.push_back(departmentType);
    const int32_t code = department ? department->Code() : 0;
    if (host_.failingDepartmentWalks.count(code)) return 11;
    auto it = host_.accountSums.find(code);
    sums_ = it == host_.accountSums.end() ? nullptr : &it->second;
    next_ = 0;
    return 0;
  }
  long GetSumCount(long* count) override {
    *count = sums_ ? static_cast<long>(sums_->size()) : 0;
    return 0;
  }
  long SetMovePos(long pos) override {
    next_ = static_cast<size_t>(pos);
    return 0;
  }
  long MoveNext(host::StKAMOKUSUMINFO* sums) override {
    if (!sums_ || next_ >= sums_->size()) return host::kEndOfData;
    *sums = (*sums_)[next_++];
    return 0;
  }
  long MoveFinish() override {
    host_.Log("Kamoku.MoveFinish");
    return 0;
  }

 private:
  const std::vector<host::StKAMOKUSUMINFO>* sums_ = nullptr;
  size_t next_ = 0;
};

class FakeGenkashokyaku : public FakeWalker<host::ClRuleGenkashokyaku> {
 public:
  using FakeWalker::FakeWalker;
  long MoveReady(const StFINDINFO* condition, int, int) override {
    long first = 0, last = 0;
    for (int i = 0; i < 2; ++i) {
      if (condition[i].Compare() == StFINDINFO::kAtLeast) first = condition[i].Value();
      if (condition[i].Compare() == StFINDINFO::kAtMost) last = condition[i].Value();
    }
    host_.assetDateRanges.push_back({first, last});
    selected_.clear();
    for (const auto& a : host_.assets) {
      const bool in = ConditionMatches(condition, [&](int32_t field, int16_t) {
        return field == StFINDINFO::kAssetDate ? std::optional<int64_t>(a.date) : std::nullopt;
      });
      if (in) selected_.push_back(&a);
    }
    return 0;
  }
  long GetCount(long* count) override {
    *count = static_cast<long>(selected_.size());
    return 0;
  }
  long Move(long index, host::StKOTEISHISANINFO* asset, host::StKOTEISHISANYEAR*,
            host::StKOTEISHISANMONTH*) override {
    if (index == host_.assetFailAt) return 13;
    if (index < 0 || static_cast<size_t>(index) >= selected_.size()) return host::kEndOfData;
    *asset = selected_[index]->record;
    return 0;
  }
  long MoveFinish() override {
    host_.Log("Genkashokyaku.MoveFinish");
    return 0;
  }

 private:
  std::vector<const FakeAsset*> selected_;
};

}  // namespace

std::unique_ptr<host::ClRuleShohizeiShinkoku> FakeHost::NewRuleShohizeiShinkoku() {
  if (cannotCreate.count("Shinkoku")) return nullptr;
  return std::make_unique<FakeShinkoku>(*this);
}
std::unique_ptr<host::ClRuleShohizei> FakeHost::NewRuleShohizei() {
  if (cannotCreate.count("Shohizei")) return nullptr;
  return std::make_unique<FakeShohizei>(*this);
}
std::unique_ptr<host::ClRuleShiwake> FakeHost::NewRuleShiwake() {
  if (cannotCreate.count("Shiwake")) return nullptr;
  return std::make_unique<FakeShiwake>(*this);
}
std::unique_ptr<host::ClRuleKamoku> FakeHost::NewRuleKamoku() {
  if (cannotCreate.count("Kamoku")) return nullptr;
  return std::make_unique<FakeKamoku>(*this);
}
std::unique_ptr<host::ClRuleGenkashokyaku> FakeHost::NewRuleGenkashokyaku() {
  if (cannotCreate.count("Genkashokyaku")) return nullptr;
  return std::make_unique<FakeGenkashokyaku>(*this);
}

}  // namespace ltb::testing
