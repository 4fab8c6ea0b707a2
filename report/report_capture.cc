#include "report/report_capture.h"

#include <cerrno>

#include <map>
#include <memory>

#include "host/records.h"
#include "report/header_sections.h"
#include "report/report.h"
#include "report/return_data_section.h"

namespace ltb::report {
namespace {

constexpr const char* kMemoryPath = "M:\\report.xml";

// Files that live in a map: whatever the writer creates, renames or removes
// stays in memory. Reading falls back to the Env it wraps, so that a
// section may still read its support file.
class MemoryFilesEnv : public platform::EnvWrapper {
 public:
  explicit MemoryFilesEnv(platform::Env& files) : EnvWrapper(&files) {}

  std::string* Find(const std::string& path) {
    auto it = files_.find(path);
    return it == files_.end() ? nullptr : &it->second;
  }

  std::unique_ptr<platform::WritableFile> NewWritableFile(const std::string& path) override {
    files_[path].clear();
    return std::make_unique<File>(&files_[path]);
  }
  // The writer's temporary file and its rename stay in the map too.
  std::unique_ptr<platform::WritableFile> NewTempFile(const std::string& target,
                                                      platform::TempFileMode mode,
                                                      std::string* tempPath,
                                                      platform::IoStatus* status) override {
    return Env::NewTempFile(target, mode, tempPath, status);
  }
  platform::EntryKind GetEntryKind(const std::string& path) override {
    return files_.count(path) != 0 ? platform::EntryKind::kRegular : platform::EntryKind::kNone;
  }
  platform::IoStatus RenameFile(const std::string& from, const std::string& to) override {
    auto it = files_.find(from);
    if (it == files_.end()) return platform::IoStatus::FromErrno(to, ENOENT);
    std::string moved = std::move(it->second);
    files_.erase(it);
    files_[to] = std::move(moved);
    return platform::IoStatus::OK();
  }
  platform::IoStatus RemoveFile(const std::string& path) override {
    return files_.erase(path) != 0 ? platform::IoStatus::OK()
                                   : platform::IoStatus::FromErrno(path, ENOENT);
  }
  platform::IoStatus CreateDir(const std::string&) override { return platform::IoStatus::OK(); }
  platform::IoStatus RemoveDir(const std::string&) override { return platform::IoStatus::OK(); }
  bool FileExists(const std::string& path) override {
    return files_.count(path) != 0 || EnvWrapper::FileExists(path);
  }
  platform::IoStatus ReadFile(const std::string& path, std::string* data,
                              size_t maxBytes) override {
    if (const std::string* held = Find(path)) {
      *data = held->substr(0, maxBytes);
      return platform::IoStatus::OK();
    }
    return EnvWrapper::ReadFile(path, data, maxBytes);
  }

 private:
  class File : public platform::WritableFile {
   public:
    explicit File(std::string* data) : data_(data) {}
    platform::IoStatus Append(std::string_view data) override {
      data_->append(data);
      return platform::IoStatus::OK();
    }
    platform::IoStatus Flush() override { return platform::IoStatus::OK(); }
    platform::IoStatus Sync() override { return platform::IoStatus::OK(); }
    platform::IoStatus Close() override { return platform::IoStatus::OK(); }

   private:
    std::string* data_;
  };

  // std::map keeps the addresses of its values while others come and go.
  std::map<std::string, std::string> files_;
};

std::string BuildLayout(platform::Env& files) {
  static const host::StSaveTaxInfo saved{};
  static const host::StDATAINFO data{};
  MemoryFilesEnv env(files);
  ReportContext ctx;
  ctx.env = &env;
  ctx.taxSaveInfo = &saved;
  std::optional<std::string> text = CaptureReportText(files, [&](ReportWriter& w) {
    return w.WriteLine(kReportDeclaration) && w.WriteStartTag("REPORT", 0) &&
           WriteSystemSection(w, ctx) &&
           WriteBasicSection(w, ctx, data, BasicSource::kReturnValues) &&
           WriteReturnDataSection(w, ctx, data) && w.WriteEndTag("REPORT", 0);
  });
  return text.value_or(std::string());
}

}  // namespace

std::optional<std::string> CaptureReportText(platform::Env& files,
                                             const std::function<bool(ReportWriter&)>& write) {
  MemoryFilesEnv env(files);
  bool written = false;
  {
    ReportWriter writer;
    if (!writer.Open(&env, kMemoryPath).ok()) return std::nullopt;
    written = write(writer);
    writer.Close();
    if (writer.broken()) return std::nullopt;
  }
  const std::string* text = env.Find(kMemoryPath);
  if (!written || text == nullptr) return std::nullopt;
  return *text;
}

const std::string& ReportLayoutText(platform::Env& files) {
  static const std::string layout = BuildLayout(files);
  return layout;
}

}  // namespace ltb::report
