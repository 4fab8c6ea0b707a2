#include "tools/ledger_tool/books_arguments.h"

#include <cstdlib>
#include <iostream>

#include "tools/books/data_folder.h"

#include "platform/messages.h"

namespace ltb::ledger_tool {

using platform::Format;
using platform::Tr;

int Fail(const std::string& message) {
  std::cerr << "ledora-ledger: " << message << "\n";
  return 1;
}

bool ReadBooksArguments(const std::vector<std::string>& a, const char* command,
                        const char* synopsis, const OwnOption& own, BooksArguments* out,
                        int* status) {
  std::vector<std::string> positional;
  out->categories = books::BooksDataFolder() + "/tax-categories.tsv";
  for (size_t i = 1; i < a.size(); ++i) {
    const std::string& arg = a[i];
    const bool hasValue = i + 1 < a.size();
    *status = 0;
    if (own(a, &i, status)) {
      if (*status != 0) return false;
    } else if (arg == "--layout" && hasValue) {
      out->layoutName = a[++i];
    } else if (arg == "--categories" && hasValue) {
      out->categories = a[++i];
    } else if (arg == "--encoding" && hasValue) {
      if (!books::ParseEncoding(a[++i], &out->encoding)) {
        *status = Fail(Format(Tr("The encoding \"%s\" is not known; use auto, cp932 or utf-8."),
                              a[i].c_str()));
        return false;
      }
    } else if (arg.rfind("--", 0) == 0) {
      *status = Fail(Format(Tr("The option %s is unknown or lacks its value; see %s --help."),
                            arg.c_str(), command));
      return false;
    } else {
      positional.push_back(arg);
    }
  }
  char* end = nullptr;
  const long dataset = positional.size() == 3 ? std::strtol(positional[1].c_str(), &end, 10) : 0;
  if (positional.size() != 3 || !end || *end != '\0' || dataset <= 0) {
    std::cerr << Format(Tr("Usage: ledora-ledger %s %s\n"), command, synopsis);
    *status = Fail(Format(Tr("%s needs HOME, a dataset number and FILE."), command));
    return false;
  }
  out->home = positional[0];
  out->dataset = static_cast<int>(dataset);
  out->file = positional[2];
  return true;
}

}  // namespace ltb::ledger_tool
