// The remembered settings file: reading a record out of fuzzed file text,
// and writing a record into it and reading it back.
//
// Input: user id, output path (0x00-separated), four bytes for the dataset
// numbers, mode and months, then the old file's text.
#include <cstdint>
#include <string>

#include "dialog/output_checks.h"
#include "dialog/remembered_settings.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/cp932.h"
#include "platform/testing/memory_env.h"

namespace {

using ltb::dialog::RememberedRecord;

constexpr char kFolder[] = "C:\\Users\\u\\AppData\\Ledora\\";
constexpr char kFileName[] = "LedTaxBridgeA.env";

size_t CountKeyLines(std::string_view text, std::string_view key) {
  size_t n = 0;
  for (size_t start = 0; start < text.size();) {
    if (text.substr(start).starts_with(key)) ++n;
    const size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos) break;
    start = lf + 1;
  }
  return n;
}

void CheckRecord(const RememberedRecord& r) {
  LTB_FUZZ_CHECK(r.outputPath.size() < ltb::dialog::kPathCapacity);
  LTB_FUZZ_CHECK(r.outputPath.find('\n') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ltb::fuzz::FuzzInput in(data, size);
  const std::string_view userId = in.Field();
  const std::string_view typedPath = in.Field();
  const long no1 = in.Byte();
  const long no2 = in.Byte();
  const int32_t mode = in.Byte() & 1;
  const uint8_t months = in.Byte();
  const std::string_view oldText = in.Rest();

  const std::string key = ltb::dialog::SettingsKey(userId, no1, no2);
  RememberedRecord found;
  if (ltb::dialog::FindRememberedRecord(oldText, key, &found)) CheckRecord(found);

  // A record as the dialog hands it over: a path of one line, at most 260
  // bytes, and a user id of one line.
  if (userId.find('\n') != std::string_view::npos) return 0;
  const std::string path(ltb::platform::CutOnCharBoundary(typedPath.substr(0, typedPath.find('\n')),
                                                          ltb::dialog::kPathCapacity - 1));
  const int16_t start = static_cast<int16_t>(months & 0x0F);
  const int16_t end = static_cast<int16_t>(months >> 4);
  const std::string line = ltb::dialog::SettingsLine(key, mode, start, end, path);

  const std::string newText = ltb::dialog::ReplaceRememberedRecord(oldText, key, line);
  LTB_FUZZ_CHECK(newText.ends_with(line));
  // The lines of other users and datasets stay; only the key's line goes.
  for (size_t start = 0; start < oldText.size();) {
    size_t lf = oldText.find('\n', start);
    if (lf == std::string_view::npos) lf = oldText.size();
    const std::string_view other = oldText.substr(start, lf - start);
    if (!other.starts_with(key)) {
      LTB_FUZZ_CHECK(newText.find(other) != std::string::npos);
    }
    start = lf + 1;
  }
  if (CountKeyLines(oldText, key) <= 1) {
    RememberedRecord back;
    LTB_FUZZ_CHECK(ltb::dialog::FindRememberedRecord(newText, key, &back));
    LTB_FUZZ_CHECK(back.mode == mode && back.startMonth == start && back.endMonth == end);
    LTB_FUZZ_CHECK(back.outputPath == path);
    LTB_FUZZ_CHECK(CountKeyLines(newText, key) == 1);
  }

  // The same through the file, with the folder created on the way.
  ltb::platform::testing::MemoryEnv env;
  env.folderTree = true;
  env.folders = {"C:\\", "C:\\Users"};
  if (!oldText.empty()) {
    env.folders.insert({"C:\\Users\\u", "C:\\Users\\u\\AppData", "C:\\Users\\u\\AppData\\Ledora"});
    env.files[std::string(kFolder) + kFileName] = std::string(oldText);
  }
  LTB_FUZZ_CHECK(ltb::dialog::StoreRememberedRecord(env, kFolder, kFileName, key, line).ok());
  LTB_FUZZ_CHECK(env.files[std::string(kFolder) + kFileName] == newText);
  LTB_FUZZ_CHECK(env.files.size() == 1);  // nothing left beside it
  return 0;
}
