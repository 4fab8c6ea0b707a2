#include "aggregate/account_net.h"

namespace ltb::aggregate {
namespace {

constexpr int kClosingSlot = 13;
constexpr int kInterimSlot = 14;

bool ValidSlot(int slot) { return slot >= 0 && slot < host::StKAMOKUSUMINFO::kSlots; }

}  // namespace

TaxDecimal AccountNet(const host::StKAMOKUSUMINFO& sums, int start, int end,
                      const host::StSHOHIZEIINFO& settings, bool closing, bool interim) {
  const bool included = settings.TaxIncluded() != 0;
  TaxDecimal debit, credit;
  auto addSlot = [&](int slot) {
    if (!ValidSlot(slot)) return;
    debit.Add(TaxDecimal::FromAmount(sums.Debit(slot, included)));
    credit.Add(TaxDecimal::FromAmount(sums.Credit(slot, included)));
  };
  for (int m = start; m <= end; ++m) addSlot(m);
  if (closing) addSlot(kClosingSlot);
  if (interim) addSlot(kInterimSlot);
  if (sums.BalanceSide() == 1) return debit.Subtract(credit);
  return credit.Subtract(debit);
}

TaxDecimal DebitMinusCredit(const host::StKAMOKUSUMINFO& sums, int start, int end,
                            const host::StSHOHIZEIINFO& settings, bool nextSlot, bool interim) {
  const bool included = settings.TaxIncluded() != 0;
  TaxDecimal net;
  auto addSlot = [&](int slot) {
    if (!ValidSlot(slot)) return;
    net.Add(TaxDecimal::FromAmount(sums.Debit(slot, included)));
    net.Subtract(TaxDecimal::FromAmount(sums.Credit(slot, included)));
  };
  for (int m = start; m <= end; ++m) addSlot(m);
  if (nextSlot) addSlot(end + 1);
  if (interim) addSlot(kInterimSlot);
  return net;
}

}  // namespace ltb::aggregate
