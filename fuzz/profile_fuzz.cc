// The private-profile reader over a fuzzed INI file.
//
// Input: one byte choosing the buffer capacity, then section, key and
// default separated by 0x00 bytes, then the file's bytes.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/cp932.h"
#include "platform/profile.h"
#include "platform/testing/memory_env.h"

namespace {

constexpr char kIniPath[] = "C:\\prog\\ZenkitDef.ini";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ltb::fuzz::FuzzInput in(data, size);
  const size_t capacity = in.Byte();
  const std::string section(in.Field());
  const std::string key(in.Field());
  const std::string def(in.Field());
  ltb::platform::testing::MemoryEnv env;
  env.files[kIniPath] = std::string(in.Rest());

  const std::string value =
      ltb::platform::GetPrivateProfileString(env, section, key, def, capacity, kIniPath);
  LTB_FUZZ_CHECK(capacity == 0 ? value.empty() : value.size() <= capacity - 1);

  // Section and key names compare without regard to ASCII case.
  const std::string same = ltb::platform::GetPrivateProfileString(
      env, ltb::platform::AsciiLower(section), ltb::platform::AsciiLower(key), def, capacity,
      kIniPath);
  LTB_FUZZ_CHECK(same == value);

  // Without the file the default comes back, cut to the capacity.
  const std::string missing = ltb::platform::GetPrivateProfileString(
      env, section, key, def, capacity, "C:\\prog\\missing.ini");
  std::string_view trimmed = def;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  LTB_FUZZ_CHECK(capacity == 0 ||
                 missing == ltb::platform::CutOnCharBoundary(trimmed, capacity - 1));
  return 0;
}
