// The output destination checks and the folder tree creation over fuzzed
// paths, on an in-memory file system.
//
// Input: one byte for the capacity, one for the drive type, one for the
// folder creation that fails (0 none), then the path.
#include <cstdint>
#include <set>
#include <string>

#include "dialog/output_checks.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/cp932.h"
#include "platform/testing/memory_env.h"
#include "platform/win_path.h"

namespace {

using namespace ltb::dialog;

void CheckSplitting(std::string_view path) {
  const std::string folder = LeadingFolder(path);
  const std::string name = TrailingFileName(path);
  LTB_FUZZ_CHECK(folder + name == path);
  LTB_FUZZ_CHECK(ltb::platform::FindChar(name, '\\') == std::string::npos);

  std::string part(path);
  if (FolderPartOf(&part)) {
    LTB_FUZZ_CHECK(!part.empty());
    LTB_FUZZ_CHECK(part.size() <= path.size() + 1);
  } else {
    LTB_FUZZ_CHECK(part == path);
  }
}

void CheckAppendBackslash(std::string_view path, size_t capacity) {
  std::string p(path);
  if (AppendBackslash(&p, capacity)) {
    LTB_FUZZ_CHECK(p.back() == '\\');
    LTB_FUZZ_CHECK(p.size() == path.size() || p.size() < capacity);
    LTB_FUZZ_CHECK(p.starts_with(path));
  } else {
    LTB_FUZZ_CHECK(p == path);
  }
}

// Either the whole tree exists afterwards, or nothing that was created by
// the call is left behind.
void CheckCreateFolderTree(std::string_view path, ltb::platform::DriveType type, int failAt) {
  ltb::platform::testing::MemoryEnv env;
  env.folderTree = true;
  env.driveType = type;
  env.folders = {"C:\\", "C:\\out", "D:\\"};
  env.failCreateDirAt = failAt;
  const std::set<std::string> before = env.folders;
  if (CreateFolderTree(env, path)) {
    // Every level below the root exists (a root is never created).
    std::string folder(path);
    FolderPartOf(&folder);
    // (A 0x00 byte ends the text for the double-byte scan of the C
    // runtime, so paths holding one are left out of this check.)
    if (ltb::platform::PathSkipRoot(folder) < folder.size() &&
        path.find('\0') == std::string_view::npos) {
      LTB_FUZZ_CHECK(FolderExistsFor(env, path));
    }
    for (const std::string& f : before) LTB_FUZZ_CHECK(env.folders.count(f));
  } else {
    LTB_FUZZ_CHECK(env.folders == before);
  }
  IsUsableDrive(env, path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ltb::fuzz::FuzzInput in(data, size);
  const size_t capacity = in.Byte() + 1;
  const auto type = static_cast<ltb::platform::DriveType>(in.Byte() % 7);
  const int failAt = in.Byte() % 8;
  const std::string_view path = in.Rest();

  HasInvalidPathChars(path);
  CheckSplitting(path);
  CheckAppendBackslash(path, capacity);
  CheckCreateFolderTree(path, type, failAt);
  return 0;
}
