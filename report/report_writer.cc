#include "report/report_writer.h"

#include "platform/cp932.h"
#include "platform/messages.h"
#include "report/xml_safe_text.h"

namespace ltb::report {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string Indent(int level) {
  return std::string(level > 0 ? static_cast<size_t>(level) : 0, '\t');
}

// " name="value"" for each attribute the rules let through.
std::string AttributeText(const TagAttributes& a) {
  std::string out;
  if (a.name1 == nullptr || a.value1 == nullptr) return out;
  out.append(" ").append(a.name1).append("=\"");
  out.append(ReportWriter::EscapeText(a.value1)).append("\"");
  if (a.name2 != nullptr && a.value2 != nullptr) {
    out.append(" ").append(a.name2).append("=\"");
    out.append(ReportWriter::EscapeText(a.value2)).append("\"");
  }
  return out;
}

std::string_view Entity(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '>': return "&gt;";
    case '<': return "&lt;";
    case '"': return "&quot;";
    case '\'': return "&apos;";
    default: return {};
  }
}

}  // namespace

platform::IoStatus ReportWriter::Open(platform::Env* env, const std::string& path) {
  if (env == nullptr || path.empty()) {
    return platform::IoStatus::IoError(path, platform::Tr932("no report file was named"));
  }
  Close();
  env_ = env;
  path_ = path;
  broken_ = false;
  // A report written again keeps the permissions (and, where it may, the
  // group) the previous one was given.
  file_ = env->NewTempFile(path, platform::TempFileMode::kKeepTarget, &tempPath_, &status_);
  return status_;
}

void ReportWriter::Fail(const platform::IoStatus& status) {
  if (status.ok()) return;
  if (status_.ok()) status_ = status;
  broken_ = true;
}

ReportWriter::~ReportWriter() {
  broken_ = true;
  Close();
}

int ReportWriter::Close() {
  if (!file_) return 0;
  // The report's bytes reach the disk before the file takes its name: a
  // crash just after the rename must not leave an empty file where the
  // previous report was.
  if (!broken_) Fail(file_->Sync());
  // A broken file is removed before it is closed: a temporary file without
  // a name then never takes one, not even for a moment.
  if (broken_) env_->RemoveFile(tempPath_);
  const platform::IoStatus closed = file_->Close();
  if (!broken_ && !closed.ok()) {
    Fail(closed);
    env_->RemoveFile(tempPath_);
  }
  file_.reset();
  if (!broken_) {
    const platform::IoStatus renamed = env_->RenameFile(tempPath_, path_);
    if (!renamed.ok()) {
      Fail(renamed);
      env_->RemoveFile(tempPath_);
    }
  }
  tempPath_.clear();
  return 0;
}

bool ReportWriter::WriteLine(std::string_view text) {
  if (!file_ || broken_) return false;
  platform::IoStatus written = file_->Append(text);
  if (written.ok()) written = file_->Flush();
  if (written.ok()) return true;
  Fail(written);
  Close();
  return false;
}

bool ReportWriter::WriteStartTag(std::string_view name, int level, const TagAttributes& attrs) {
  std::string line = Indent(level);
  line.append("<").append(name).append(AttributeText(attrs)).append(">");
  line.append(kLineEnd);
  return WriteLine(line);
}

bool ReportWriter::WriteElement(std::string_view name, std::string_view text, int level,
                                const TagAttributes& attrs) {
  std::string line = Indent(level);
  line.append("<").append(name).append(AttributeText(attrs)).append(">");
  line.append(EscapeText(text));
  line.append("</").append(name).append(">").append(kLineEnd);
  return WriteLine(line);
}

bool ReportWriter::WriteEndTag(std::string_view name, int level) {
  std::string line = Indent(level);
  line.append("</").append(name).append(">").append(kLineEnd);
  return WriteLine(line);
}

std::string ReportWriter::EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    std::string_view entity = Entity(c);
    if (entity.empty()) {
      out.push_back(XmlSafeByte(c));
    } else {
      out.append(entity);
    }
  }
  return out;
}

std::string_view FitElementText(std::string_view name, std::string_view text, int level,
                                size_t capacity) {
  size_t fixed = Indent(level).size() + 2 * name.size() + 5 + kLineEnd.size() + 1;
  if (fixed >= capacity) return text.substr(0, 0);
  size_t room = capacity - fixed;
  size_t used = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t width =
        (platform::IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2
                                                                                               : 1;
    size_t escaped = width == 1 && !Entity(text[pos]).empty() ? Entity(text[pos]).size() : width;
    if (used + escaped > room) break;
    used += escaped;
    pos += width;
  }
  return text.substr(0, pos);
}

}  // namespace ltb::report
