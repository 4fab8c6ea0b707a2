#include "resources/edition.h"

namespace ltb {
namespace {

const Edition kEditions[] = {
    {'A', 0, "Ledora１７", "LedTaxBridgeA.env", "LedTaxBridgeA"},
    {'B', 3, "Ledora１７ Vantage", "LedTaxBridgeB.env", "LedTaxBridgeB"},
    {'C', 4, "Ledora１７ Hearth", "LedTaxBridgeC.env", "LedTaxBridgeC"},
};

}  // namespace

const Edition* EditionByLetter(char letter) {
  for (const Edition& e : kEditions) {
    if (e.letter == letter) return &e;
  }
  return nullptr;
}

}  // namespace ltb
