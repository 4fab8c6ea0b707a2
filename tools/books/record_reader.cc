#include "tools/books/record_reader.h"

#include <cerrno>
#include <cstring>

#include "platform/messages.h"

namespace ltb::books {

namespace {
constexpr size_t kChunk = 1 << 20;
}

RecordReader::RecordReader(std::FILE* file, char separator) : file_(file), sep_(separator) {}

bool RecordReader::Fill() {
  if (eof_) return false;
  if (pos_ > 0) {
    buf_.erase(0, pos_);
    pos_ = 0;
  }
  const size_t old = buf_.size();
  buf_.resize(old + kChunk);
  const size_t got = std::fread(buf_.data() + old, 1, kChunk, file_);
  buf_.resize(old + got);
  if (got == 0) {
    eof_ = true;
    if (std::ferror(file_)) {
      error_ = platform::Format(platform::Tr("The file cannot be read: %s."), std::strerror(errno));
    }
    return false;
  }
  return true;
}

std::string_view RecordReader::Head() {
  if (buf_.size() - pos_ < 65536) Fill();
  return std::string_view(buf_).substr(pos_, 65536);
}

bool RecordReader::Next(Record* record) {
  record->fields.clear();
  if (!started_) {
    if (buf_.size() - pos_ < 3) Fill();
    if (std::string_view(buf_).substr(pos_).starts_with("\xEF\xBB\xBF")) pos_ += 3;
    started_ = true;
  }
  for (;;) {
    // Skip blank lines.
    while (true) {
      if (pos_ >= buf_.size() && !Fill()) return false;
      const char c = buf_[pos_];
      if (c == '\n') {
        ++pos_;
        ++line_;
      } else if (c == '\r' && (pos_ + 1 < buf_.size() || Fill()) && buf_[pos_ + 1] == '\n') {
        pos_ += 2;
        ++line_;
      } else {
        break;
      }
    }
    record->line = line_;
    std::string field;
    bool quoted = false, wasQuoted = false;
    for (;;) {
      if (pos_ >= buf_.size() && !Fill()) {
        if (!error_.empty()) return false;
        if (quoted) {
          error_ = platform::Tr(
              "a quoted field is not closed before the end of the file; add the closing double "
              "quote.");
          return false;
        }
        record->fields.push_back(std::move(field));
        return true;
      }
      // Plain bytes are taken as a run.
      size_t run = pos_;
      if (quoted) {
        while (run < buf_.size() && buf_[run] != '"' && buf_[run] != '\n') ++run;
      } else {
        while (run < buf_.size() && buf_[run] != sep_ && buf_[run] != '\n' && buf_[run] != '\r' &&
               buf_[run] != '"') {
          ++run;
        }
      }
      if (run > pos_) {
        field.append(buf_, pos_, run - pos_);
        pos_ = run;
        continue;
      }
      const char c = buf_[pos_++];
      if (quoted) {
        if (c == '"') {
          if (pos_ >= buf_.size()) Fill();
          if (pos_ < buf_.size() && buf_[pos_] == '"') {
            field += '"';
            ++pos_;
          } else {
            quoted = false;
          }
        } else {
          if (c == '\n') ++line_;
          field += c;
        }
        continue;
      }
      if (c == '"' && field.empty() && !wasQuoted) {
        quoted = wasQuoted = true;
      } else if (c == sep_) {
        record->fields.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
      } else if (c == '\n' || c == '\r') {
        if (c == '\r') {
          if (pos_ >= buf_.size()) Fill();
          if (pos_ < buf_.size() && buf_[pos_] == '\n') ++pos_;
        }
        ++line_;
        record->fields.push_back(std::move(field));
        return true;
      } else {
        field += c;
      }
    }
  }
}

}  // namespace ltb::books
