// The option link that walkers and the tax-return store are attached to:
// here it only carries the open ledger.
#pragma once

namespace ltb::ledger {
class LedgerDb;
}

namespace ltb::host {

class ClOptLink {
 public:
  ClOptLink() = default;
  ltb::ledger::LedgerDb* db = nullptr;  // null before Initiate
};

}  // namespace ltb::host
