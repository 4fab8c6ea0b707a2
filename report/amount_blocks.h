// The 21 amount blocks of the DATA section (D020110 .. D020232), as data.
//
// Both reports write the same blocks, elements and order; an element says
// where the journal report and the return-values report take its value from.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "report/rate_view.h"
#include "report/report_writer.h"

namespace ltb::report {

enum class JournalSource {
  kEmpty,            // always written empty
  kRateField,        // rateField of the rate block
  kBusinessType,     // btField of one business-type entry of the rate
  kUntypedRemainder  // rateField minus btField summed over the six entries
};

// A StSaveTaxInfo offset meaning "no slot": empty in the return-values report.
inline constexpr int kNoSlot = -1;

struct AmountElement {
  std::string name;  // with business-type and rate digits
  size_t rate = 0;   // 0 for 8%, 1 for 5%, 2 for 3%
  JournalSource journal = JournalSource::kEmpty;
  RateField rateField{};
  size_t businessType = 0;  // 0..5
  BusinessTypeField btField{};
  int returnSlot = kNoSlot;     // byte offset of the amount in StSaveTaxInfo
  bool scaledByTwenty = false;  // the return-values report prints slot x 20
};

struct AmountBlock {
  std::string name;
  std::vector<AmountElement> elements;
};

// The 21 blocks in the order of the file.
const std::vector<AmountBlock>& AmountBlocks();

// Writes every block at level 2 and its elements at level 3, the text of an
// element given by `text`. False at the first failed write.
bool WriteAmountBlocks(ReportWriter& w,
                       const std::function<std::string(const AmountElement&)>& text);

}  // namespace ltb::report
