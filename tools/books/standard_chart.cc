#include "tools/books/standard_chart.h"

#include "platform/messages.h"
#include "tools/books/data_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace ltb::books {

namespace {

bool Number(const std::string& text, long long low, long long high, long long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  *value = std::strtoll(text.c_str(), &end, 0);
  return errno == 0 && end && *end == '\0' && *value >= low && *value <= high;
}

}  // namespace

bool ParseStandardChart(std::string_view text, std::vector<ledger::AccountRecordRow>* accounts,
                        std::string* error) {
  accounts->clear();
  return ForEachDataLine(text, [&](int lineNo, std::string_view line) {
    std::istringstream in{std::string(line)};
    std::string code, name, cls, side, summary;
    std::getline(in, code, '\t');
    std::getline(in, name, '\t');
    std::getline(in, cls, '\t');
    std::getline(in, side, '\t');
    std::getline(in, summary, '\t');
    long long c, k, s, m;
    if (!Number(code, 1, 2147483647, &c) || name.empty() || !Number(cls, 0, 0xFFFFFFFFll, &k) ||
        !Number(side, 1, 2, &s) || !Number(summary, 0, 1, &m)) {
      *error = platform::Format(
          platform::Tr("Line %d of the standard chart is not \"code<TAB>name<TAB>class "
                       "code<TAB>side 1 or 2<TAB>summary 0 or 1\"; correct the line."),
          lineNo);
      return false;
    }
    ledger::AccountRecordRow row;
    row.code = static_cast<int>(c);
    row.name = name;
    row.classCode = static_cast<int32_t>(static_cast<uint32_t>(k));
    row.balanceSide = static_cast<int>(s);
    row.summaryLine = static_cast<int>(m);
    accounts->push_back(std::move(row));
    return true;
  });
}

bool LoadStandardChart(const std::string& path, std::vector<ledger::AccountRecordRow>* accounts,
                       std::string* error) {
  std::string text;
  return ReadDataFile(path,
                      platform::MessageId("The standard chart %s cannot be opened: %s. Install "
                                          "the program again, or give datasets their accounts "
                                          "with add-account."),
                      &text, error) &&
         ParseStandardChart(text, accounts, error);
}

}  // namespace ltb::books
