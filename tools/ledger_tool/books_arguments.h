// The command line import-books and export-books share: HOME DATASET FILE
// and the options --layout, --categories and --encoding, around the
// options of the command's own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/books/book_text.h"

namespace ltb::ledger_tool {

struct BooksArguments {
  std::string home;
  int dataset = 0;
  std::string file;
  std::string layoutName = "single-row";
  std::string categories;  // the shipped tax-category table unless given
  books::Encoding encoding = books::Encoding::kAuto;
};

// Reads an option of the command's own at args[*i] (moving *i past its
// value); false when it is none of them. On a bad value it sets *status to
// the exit status, having said why.
using OwnOption = std::function<bool(const std::vector<std::string>& args, size_t* i, int* status)>;

// Reads args (args[0] is the command) into *out; false with *status set
// when they are wrong, having printed what is wrong (with the usage line
// for a wrong number of arguments).
bool ReadBooksArguments(const std::vector<std::string>& args, const char* command,
                        const char* synopsis, const OwnOption& own, BooksArguments* out,
                        int* status);

// Prints "ledora-ledger: message" on standard error; returns exit status 1.
int Fail(const std::string& message);

}  // namespace ltb::ledger_tool
