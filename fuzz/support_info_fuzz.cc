// The support information reader over a fuzzed SUPPORT.INF.
//
// Input: the file's bytes; a tag of the fuzzer's choosing is the first
// "[=...=]" found in them.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/testing/memory_env.h"
#include "report/support_info.h"

namespace {

// A value ends at the end of its line or of the data read; it never holds
// the bytes that mark them.
void CheckValue(std::string_view value) {
  LTB_FUZZ_CHECK(value.size() < ltb::report::SupportInfo::kMaxBytes);
  LTB_FUZZ_CHECK(value.find('\0') == std::string_view::npos);
  LTB_FUZZ_CHECK(value.find('\xFF') == std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  ltb::platform::testing::MemoryEnv env;
  env.files[ltb::report::SupportInfo::kFileName] = file;

  ltb::report::SupportInfo info(&env);
  CheckValue(info.ProductName());
  CheckValue(info.ProductVersion());
  CheckValue(info.Lookup("[=お問い合わせ内容=]"));
  CheckValue(info.Lookup("[=症状が再現する手順や条件=]"));
  const size_t open = file.find("[=");
  const size_t close = open == std::string::npos ? open : file.find("=]", open + 2);
  if (close != std::string::npos) CheckValue(info.Lookup(file.substr(open, close + 2 - open)));

  // A tag that is no tag at all finds nothing.
  LTB_FUZZ_CHECK(info.Lookup("").empty());
  return 0;
}
