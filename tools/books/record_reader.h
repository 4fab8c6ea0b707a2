// Reads a delimited text file (comma or tab separated, fields optionally in
// double quotes with "" for a quote, a quoted field may span lines; CR LF or
// LF line ends) one record at a time, holding only a bounded buffer of the
// file in memory.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace ltb::books {

struct Record {
  int line = 0;                     // the line the record starts on (1 = first line)
  std::vector<std::string> fields;  // raw bytes, quotes removed
};

class RecordReader {
 public:
  // Reads from `file` (not owned); `separator` is ',' or '\t'.
  RecordReader(std::FILE* file, char separator);

  // The first bytes of the file, for detecting its encoding; they are read
  // again by Next.
  std::string_view Head();

  // The next record; false at the end of the file or on an error (then
  // error() is not empty). A byte-order mark at the start is skipped; blank
  // lines are skipped.
  bool Next(Record* record);
  const std::string& error() const { return error_; }

 private:
  bool Fill();

  std::FILE* file_;
  char sep_;
  std::string buf_;
  size_t pos_ = 0;
  bool eof_ = false;
  bool started_ = false;
  int line_ = 1;
  std::string error_;
};

}  // namespace ltb::books
