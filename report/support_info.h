// The support information file "SUPPORT.INF" of the program's folder: the
// product name and version that the SYSTEM section reports.
//
// The file is CP932 text of tagged entries, "[=name=]" followed by the value
// up to the end of its line. Two entries may span several lines and keep
// their inner line breaks. Only the first 30000 bytes are read; the first
// occurrence of a tag wins.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"

namespace ltb::report {

class SupportInfo {
 public:
  static constexpr size_t kMaxBytes = 30000;
  static constexpr const char* kFileName = "SUPPORT.INF";

  // REQUIRES: env outlives the object. The file is looked up in the current
  // folder, which the run has set to the program's folder.
  explicit SupportInfo(platform::Env* env) : env_(env) {}

  // The value of "[=製品名=]", or empty when the file or the tag is missing.
  std::string_view ProductName();
  // The value of "[=製品ﾊﾞｰｼﾞｮﾝ=]", or empty.
  std::string_view ProductVersion();
  // The value of any tag (including its "[=" and "=]"), or empty.
  std::string_view Lookup(std::string_view tag);

 private:
  // Reads and normalises the file once; false when it could not be read.
  bool Load();

  platform::Env* env_;
  bool attempted_ = false;
  bool loaded_ = false;
  std::string block_;  // kMaxBytes bytes once loaded
};

}  // namespace ltb::report
