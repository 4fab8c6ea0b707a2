#include "report/support_info.h"

#include <array>

namespace ltb::report {
namespace {

// Bytes after the data read from the file; no CP932 text contains it.
constexpr char kEndOfData = '\xFF';
constexpr char kEofMark = '\x1A';

// Entries whose values run over several lines, up to the next tag.
constexpr std::array<std::string_view, 2> kMultiLineTags = {"[=お問い合わせ内容=]",
                                                            "[=症状が再現する手順や条件=]"};

// Every line end becomes two zero bytes and every end-of-file mark a zero, so
// that each value ends at the zero that replaced its line's CR.
void TerminateLines(std::string& b) {
  for (size_t i = 0; i < b.size(); ++i) {
    if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') {
      b[i] = b[i + 1] = '\0';
      ++i;
    } else if (b[i] == kEofMark) {
      b[i] = '\0';
    }
  }
}

// Gives the multi-line value starting at `pos` its inner line breaks back and
// ends it before the line break that precedes the next tag.
void RejoinLines(std::string& b, size_t pos) {
  const size_t valueStart = pos;
  while (pos < b.size()) {
    if (b[pos] == kEndOfData) {
      b[pos] = '\0';
      return;
    }
    if (b[pos] == '[' && pos + 1 < b.size() && b[pos + 1] == '=') {
      for (size_t k = pos >= valueStart + 2 ? pos - 2 : valueStart; k < pos; ++k) b[k] = '\0';
      return;
    }
    if (b[pos] == '\0' && pos + 1 < b.size() && b[pos + 1] == '\0') {
      b[pos] = '\r';
      b[pos + 1] = '\n';
      pos += 2;
      continue;
    }
    ++pos;
  }
}

}  // namespace

bool SupportInfo::Load() {
  if (attempted_) return loaded_;
  attempted_ = true;
  std::string data;
  if (env_ == nullptr || !env_->ReadFile(kFileName, &data, kMaxBytes).ok()) return false;
  if (data.size() > kMaxBytes) data.resize(kMaxBytes);
  block_.assign(kMaxBytes, kEndOfData);
  block_.replace(0, data.size(), data);
  TerminateLines(block_);
  for (std::string_view tag : kMultiLineTags) {
    for (size_t at = block_.find(tag); at != std::string::npos;
         at = block_.find(tag, at + tag.size())) {
      RejoinLines(block_, at + tag.size());
    }
  }
  loaded_ = true;
  return true;
}

std::string_view SupportInfo::Lookup(std::string_view tag) {
  if (!Load() || tag.empty()) return {};
  size_t at = block_.find(tag);
  if (at == std::string::npos) return {};
  std::string_view value(block_);
  value.remove_prefix(at + tag.size());
  size_t end = value.find_first_of(std::string_view("\0\xFF", 2));
  return value.substr(0, end);
}

std::string_view SupportInfo::ProductName() { return Lookup("[=製品名=]"); }

std::string_view SupportInfo::ProductVersion() { return Lookup("[=製品ﾊﾞｰｼﾞｮﾝ=]"); }

}  // namespace ltb::report
