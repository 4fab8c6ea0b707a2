// Writes the report file line by line: start tags, one-line elements and end
// tags, indented by one TAB per level and ended by CR LF. Nothing is kept in
// memory: every line goes to the file (and is flushed) as it is made.
//
// The lines go to a temporary file beside the report (unnamed until it is
// whole, where the file system allows), which replaces the report only when
// it is closed whole: a run that fails or is interrupted leaves the
// previous report as it was, and two runs writing the same report leave one
// of them whole. A report written again keeps the permission bits and,
// where the process may set it, the group of the one it replaces.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"

namespace ltb::report {

// Up to two attributes of a tag; the second is written only after the first,
// and an attribute is written only when both its name and value are given.
struct TagAttributes {
  const char* name1 = nullptr;
  const char* value1 = nullptr;
  const char* name2 = nullptr;
  const char* value2 = nullptr;
};

class ReportWriter {
 public:
  ReportWriter() = default;
  ReportWriter(const ReportWriter&) = delete;
  ReportWriter& operator=(const ReportWriter&) = delete;
  // A file still attached is abandoned, not renamed: a writer destroyed
  // without Close (an exception unwinding the run) leaves the report as it
  // was.
  ~ReportWriter();

  // Creates the temporary file for the report at the Windows path `path`.
  // Fails when env or path is missing or the file cannot be made.
  platform::IoStatus Open(platform::Env* env, const std::string& path);
  // Closes the attached file, if any, and detaches it: unless broken(), the
  // temporary file is synced and renamed over the report; a broken one is
  // removed. Always 0; a file that fails to sync, to close or to take the
  // report's name counts as broken().
  int Close();

  // Writes exactly the bytes of `text`. False when no file is attached or
  // the write fails; the first failure closes the file, so every later write
  // fails too and nothing more reaches it.
  bool WriteLine(std::string_view text);
  bool WriteStartTag(std::string_view name, int level, const TagAttributes& attrs = {});
  // <name>escaped text</name> on one line; empty text gives <name></name>.
  bool WriteElement(std::string_view name, std::string_view text, int level,
                    const TagAttributes& attrs = {});
  bool WriteEndTag(std::string_view name, int level);

  // & > < " ' replaced by their entities, each input byte at most once, and
  // the bytes XML cannot carry (XmlSafeByte) by a space. CP932 trail bytes
  // never take these values, so double-byte text passes.
  static std::string EscapeText(std::string_view text);

  const std::string& path() const { return path_; }
  // True after a write error closed the file, or after the file failed to
  // sync, to close or to take the report's name: the report was not
  // replaced.
  bool broken() const { return broken_; }
  // Why the report was not replaced: the first failure since Open (of the
  // open, a write, the sync, the close or the rename); ok otherwise.
  const platform::IoStatus& status() const { return status_; }

 private:
  // Marks the writer broken by a failed step, keeping the first reason.
  void Fail(const platform::IoStatus& status);

  platform::Env* env_ = nullptr;
  std::unique_ptr<platform::WritableFile> file_;
  std::string path_;
  std::string tempPath_;  // the file being written, until it is renamed
  bool broken_ = false;
  platform::IoStatus status_;
};

// The capacity of a section writer's line buffer, terminator included; no
// line of the report is longer than this minus one.
inline constexpr size_t kLineCapacity = 256;

// The longest prefix of `text` that ends on a whole CP932 character and
// whose element line (level TABs, tags, escaped text, CR LF) fits in
// `capacity` - 1 bytes.
std::string_view FitElementText(std::string_view name, std::string_view text, int level,
                                size_t capacity = kLineCapacity);

}  // namespace ltb::report
