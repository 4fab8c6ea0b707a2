#include "host/testing/record_builders.h"

#include <utility>

namespace ltb::testing {

host::StKAMOKUINFO MakeAccount(int32_t code, int32_t classCode, uint8_t listExclusion) {
  host::StKAMOKUINFO a;
  a.SetI32(host::StKAMOKUINFO::kCodeOff, code);
  a.SetText(host::StKAMOKUINFO::kCodeTextOff, host::StKAMOKUINFO::kCodeTextCap,
            std::to_string(code));
  a.SetU8(host::StKAMOKUINFO::kListExclusionOff, listExclusion);
  a.SetI32(host::StKAMOKUINFO::kClassCodeOff, classCode);
  return a;
}

host::StKAMOKUSUMINFO MakeAccountSums(int32_t classCode, uint8_t summaryLine, uint8_t balanceSide) {
  host::StKAMOKUSUMINFO s;
  s.SetI32(host::StKAMOKUSUMINFO::kClassCodeOff, classCode);
  s.SetU8(host::StKAMOKUSUMINFO::kSummaryLineOff, summaryLine);
  s.SetU8(host::StKAMOKUSUMINFO::kBalanceSideOff, balanceSide);
  return s;
}

void SetSlot(host::StKAMOKUSUMINFO* s, int slot, int64_t debit, int64_t credit, bool taxIncluded) {
  using K = host::StKAMOKUSUMINFO;
  s->SetI64((taxIncluded ? K::kDebitInOff : K::kDebitExOff) + 8 * slot, debit);
  s->SetI64((taxIncluded ? K::kCreditInOff : K::kCreditExOff) + 8 * slot, credit);
}

host::StSWKTINFO MakeEntry(const JournalSide& debit, const JournalSide& credit) {
  using E = host::StSWKTINFO;
  E e;
  for (auto [off, side] :
       {std::pair<size_t, const JournalSide*>{E::kDebitOff, &debit}, {E::kCreditOff, &credit}}) {
    e.SetI32(off + E::kAccount, side->account);
    e.SetI32(off + E::kDepartment, side->department);
    e.SetI64(off + E::kAmount, side->amount);
    e.SetI64(off + E::kTax, side->tax);
    e.SetU8(off + E::kCategory, side->category);
  }
  return e;
}

host::StBUMONINFO MakeDepartment(int32_t code, uint8_t kind, int32_t link, uint8_t incomeType) {
  host::StBUMONINFO d;
  d.SetI32(host::StBUMONINFO::kCodeOff, code);
  d.SetI32(host::StBUMONINFO::kLinkOff, link);
  d.SetU8(host::StBUMONINFO::kKindOff, kind);
  d.SetU8(host::StBUMONINFO::kIncomeTypeOff, incomeType);
  return d;
}

host::StKOTEISHISANINFO MakeAsset(int32_t kind, int64_t amount, int16_t incomeType) {
  host::StKOTEISHISANINFO a;
  a.SetI32(host::StKOTEISHISANINFO::kKindOff, kind);
  a.SetI64(host::StKOTEISHISANINFO::kAmountOff, amount);
  a.SetI16(host::StKOTEISHISANINFO::kIncomeTypeOff, incomeType);
  return a;
}

host::StTAXSUMINFO MakeTaxSumLine(const std::string& codeText, int64_t amount) {
  host::StTAXSUMINFO t;
  t.SetText(host::StTAXSUMINFO::kCodeTextOff, host::StTAXSUMINFO::kCodeTextCap, codeText);
  t.SetI64(host::StTAXSUMINFO::kAmountOff, amount);
  return t;
}

host::StDATAINFO MakeDataset(int32_t number, const char* company, int32_t first, int32_t last,
                             int32_t interim) {
  host::StDATAINFO d;
  std::string id = std::to_string(number);
  id.insert(id.begin(), 'D');
  d.SetText(host::StDATAINFO::kDataIdOff, host::StDATAINFO::kDataIdCap, id);
  d.SetI32(host::StDATAINFO::kDatasetNoOff, number);
  d.SetText(host::StDATAINFO::kCompanyOff, host::StDATAINFO::kCompanyCap, company);
  d.SetI32(host::StDATAINFO::kPeriodStartOff, first);
  d.SetI32(host::StDATAINFO::kPeriodEndOff, last);
  d.SetI32(host::StDATAINFO::kInterimFlagOff, interim);
  return d;
}

}  // namespace ltb::testing
