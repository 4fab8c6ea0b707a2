// The constants in which the three editions differ. Each executable is
// built with LTB_EDITION set to 'A', 'B' or 'C'; everything else is shared.
#pragma once

namespace ltb {

struct Edition {
  char letter;               // 'A', 'B', 'C'
  int appType;               // for ClAccConnect::SetAppType: 0, 3, 4
  const char* productName;   // CP932: "Ledora１７", "Ledora１７ Vantage", ...
  const char* settingsFile;  // "LedTaxBridgeA.env", ...
  const char* programName;   // "LedTaxBridgeA", ...
};

// The edition of the running executable.
const Edition& CurrentEdition();

// All three, for tests and tools: letter 'A', 'B' or 'C'; null otherwise.
const Edition* EditionByLetter(char letter);

// String resource 1: the version of the link component.
inline constexpr const char* kVersionString = "17.00.00";

}  // namespace ltb
