// Compiled once per executable with LTB_EDITION defined as 'A', 'B' or 'C'.
#include "resources/edition.h"

#ifndef LTB_EDITION
#error "LTB_EDITION must name the edition ('A', 'B' or 'C')"
#endif

namespace ltb {

const Edition& CurrentEdition() { return *EditionByLetter(LTB_EDITION); }

}  // namespace ltb
