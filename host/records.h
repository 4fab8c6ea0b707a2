// Records exchanged with the source product's host libraries.
//
// Every record is a fixed-size, little-endian byte block with the offsets the
// host uses; fields are read and written through named accessors so that no
// caller depends on struct padding. The one exception is the nested-group
// pointer of StFINDINFO, which is a native pointer kept beside the 34 bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace ltb::host {

static_assert(std::endian::native == std::endian::little,
              "host records are little-endian byte blocks");

// A zero-filled byte block of N bytes with typed access at byte offsets.
template <size_t N>
struct ByteRecord {
  static constexpr size_t kSize = N;
  uint8_t bytes[N] = {};

  // Through the C library's memset, which clears the larger records with
  // vector stores; the compiler's own inline clearing of them is about
  // twice as slow, and a walk clears one record per entry it hands out. The
  // size passes through an empty asm so that the compiler cannot see it.
  void Clear() {
    size_t size = N;
    asm("" : "+r"(size));
    std::memset(bytes, 0, size);
  }

  uint8_t U8(size_t off) const { return bytes[off]; }
  void SetU8(size_t off, uint8_t v) { bytes[off] = v; }
  int16_t I16(size_t off) const { return Load<int16_t>(off); }
  void SetI16(size_t off, int16_t v) { Store(off, v); }
  int32_t I32(size_t off) const { return Load<int32_t>(off); }
  void SetI32(size_t off, int32_t v) { Store(off, v); }
  int64_t I64(size_t off) const { return Load<int64_t>(off); }
  void SetI64(size_t off, int64_t v) { Store(off, v); }
  void AddI64(size_t off, int64_t v) { Store(off, Load<int64_t>(off) + v); }

  // Zero-terminated text stored in [off, off + cap); the view stops at the
  // first zero byte or at the end of the field.
  std::string_view Text(size_t off, size_t cap) const {
    const char* p = reinterpret_cast<const char*>(bytes + off);
    size_t n = 0;
    while (n < cap && p[n] != '\0') ++n;
    return std::string_view(p, n);
  }
  // Stores at most cap - 1 bytes and always terminates the field.
  void SetText(size_t off, size_t cap, std::string_view s) {
    std::memset(bytes + off, 0, cap);
    std::memcpy(bytes + off, s.data(), s.size() < cap ? s.size() : cap - 1);
  }

 private:
  template <typename T>
  T Load(size_t off) const {
    T v;
    std::memcpy(&v, bytes + off, sizeof v);
    return v;
  }
  template <typename T>
  void Store(size_t off, T v) {
    std::memcpy(bytes + off, &v, sizeof v);
  }
};

// The dataset record. The program copies 1491 bytes of it.
struct StDATAINFO : ByteRecord<1491> {
  static constexpr size_t kDataIdOff = 0, kDataIdCap = 16;
  static constexpr size_t kDatasetNoOff = 16;
  static constexpr size_t kCompanyOff = 24, kCompanyCap = 260;
  static constexpr size_t kPeriodStartOff = 284, kPeriodEndOff = 288;
  static constexpr size_t kInterimFlagOff = 304;
  static constexpr size_t kPastResultsOff = 326;  // int16; 99 marks past results
  static constexpr size_t kEntityKindOff = 344;
  static constexpr size_t kIncomeModeOff = 947;

  std::string_view DataId() const { return Text(kDataIdOff, kDataIdCap); }
  int32_t DatasetNo() const { return I32(kDatasetNoOff); }
  std::string_view CompanyName() const { return Text(kCompanyOff, kCompanyCap); }
  int32_t PeriodStart() const { return I32(kPeriodStartOff); }
  int32_t PeriodEnd() const { return I32(kPeriodEndOff); }
  int32_t InterimFlag() const { return I32(kInterimFlagOff); }
  int16_t PastResultsMarker() const { return I16(kPastResultsOff); }
  uint8_t EntityKind() const { return U8(kEntityKindOff); }
  uint8_t IncomeMode() const { return U8(kIncomeModeOff); }
};

// The filing classes of the consumption-tax settings (FilingClass below).
enum TaxFilingClass : uint8_t {
  kTaxExempt = 0,
  kSimplifiedTaxation = 1,
  kPrincipleTaxation = 2,
};

// The consumption-tax settings of a dataset (12 bytes, copied whole).
struct StSHOHIZEIINFO : ByteRecord<12> {
  uint8_t FilingClass() const { return U8(0); }       // 0 exempt, 1 simplified, 2 principle
  uint8_t Rounding() const { return U8(2); }          // 0, 1, 2
  uint8_t DeductionMethod() const { return U8(3); }   // 0 individual, 1 lump-sum
  uint8_t MainBusinessType() const { return U8(4); }  // 0..6
  uint8_t TaxIncluded() const { return U8(5); }       // non-zero: tax-included books
};

// The values saved in the tax-return screen (packed, 15360 bytes).
struct StSaveTaxInfo : ByteRecord<15360> {
  static constexpr size_t kTaxationCodeOff = 3;
  static constexpr size_t kDeductionCodeOff = 4;
  static constexpr size_t kSalesTaxCalcFlagOff = 6;
  static constexpr size_t kPurchaseTaxCalcFlagOff = 7;
  static constexpr size_t kOldRateFlagOff = 8;
  static constexpr size_t kPeriodStartOff = 9, kPeriodEndOff = 13;
  static constexpr size_t kReportFromOff = 17, kReportToOff = 21;
  static constexpr size_t kRangeStartOff = 29, kRangeEndOff = 33;
  static constexpr size_t kInterimCodeOff = 39;

  // The per-rate areas of int64 amounts, indexed by rate: 0 for 8%, 1 for 5%,
  // 2 for 3%. Inside an area the amounts keep the order and spacing of their
  // StTAXREPORTRATEINFO fields, measured from the area's first field.
  static constexpr size_t kSalesAreaOff[3] = {12515, 573, 669};
  static constexpr size_t kPurchaseAreaOff[3] = {12707, 765, 1061};
  static constexpr size_t kBadDebtAreaOff[3] = {13299, 1357, 1405};
  // Business-type sales and sales returns: types 1..5 follow each other 24
  // bytes apart (tax excluded, tax, tax included); type 6 has its own area.
  static constexpr size_t kSalesTypeAreaOff[3] = {13395, 1453, 1573};
  static constexpr size_t kSalesType6AreaOff[3] = {14067, 14043, 14019};
  static constexpr size_t kReturnsTypeAreaOff[3] = {13635, 1693, 1813};
  static constexpr size_t kReturnsType6AreaOff[3] = {14163, 14139, 14115};
  // The local consumption tax on imports and on import refunds, at 8% and 5%
  // only: the 3% rate has no slot for them.
  static constexpr size_t kImportLocalTaxOff[2] = {13987, 2104};
  static constexpr size_t kImportRefundLocalTaxOff[2] = {13995, 2112};

  // The refund statement: int64 amounts 8 bytes apart from kRefundAmountsOff
  // (corporations fill slots 0..13, individuals 0..15), and one-byte flags
  // that make a tax-class text "2" when they hold 2 and "1" otherwise.
  static constexpr size_t kRefundAmountsOff = 9868;
  static constexpr size_t kIndividualClassFlagOff = 9865;
  static constexpr size_t kSettlementClassFlagOff = 9866;
  static constexpr size_t kAssetClassFlagOff = 9867;
  static constexpr size_t RefundAmountOff(size_t slot) { return kRefundAmountsOff + 8 * slot; }
};

// One item of a search condition. Bytes 0..33 keep the host's layout; the
// nested group (field id 999) is a native pointer held beside them.
struct StFINDINFO {
  static constexpr size_t kRawSize = 34;
  uint8_t raw[kRawSize] = {};
  const StFINDINFO* nested = nullptr;  // item array of a nested group

  enum Field : int32_t {
    kTaxCategory = 3,
    kClassCode = 16,
    kMonth = 17,
    kAssetDate = 203,
    kGroup = 999
  };
  enum Comparison : int16_t { kEqual = 1, kAtLeast = 4, kLessThan = 5, kAtMost = 6 };
  enum ValueType : int16_t { kMonthPosition = 2, kCategoryOrDate = 3, kClassCodes = 19 };
  enum Link : int16_t { kLast = 0, kAnd = 1, kOr = 2 };

  int32_t FieldId() const { return Get<int32_t>(0); }
  int16_t Side() const { return Get<int16_t>(4); }  // 1 debit, 2 credit
  int16_t Compare() const { return Get<int16_t>(6); }
  int16_t Type() const { return Get<int16_t>(10); }
  int32_t Value() const { return Get<int32_t>(18); }
  int16_t LinkToNext() const { return Get<int16_t>(30); }

  void SetFieldId(int32_t v) { Put(0, v); }
  void SetSide(int16_t v) { Put(4, v); }
  void SetCompare(int16_t v) { Put(6, v); }
  void SetType(int16_t v) { Put(10, v); }
  void SetValue(int32_t v) { Put(18, v); }
  void SetLink(int16_t v) { Put(30, v); }

  void Clear() {
    std::memset(raw, 0, kRawSize);
    nested = nullptr;
  }

 private:
  template <typename T>
  T Get(size_t off) const {
    T v;
    std::memcpy(&v, raw + off, sizeof v);
    return v;
  }
  template <typename T>
  void Put(size_t off, T v) {
    std::memcpy(raw + off, &v, sizeof v);
  }
};

// Builds one comparison item.
inline StFINDINFO MakeFindItem(int32_t field, int16_t compare, int16_t type, int32_t value,
                               int16_t link, int16_t side = 0) {
  StFINDINFO f;
  f.SetFieldId(field);
  f.SetSide(side);
  f.SetCompare(compare);
  f.SetType(type);
  f.SetValue(value);
  f.SetLink(link);
  return f;
}

// Builds a nested-group item pointing at an item array ended by link 0.
inline StFINDINFO MakeFindGroup(const StFINDINFO* items, int16_t link) {
  StFINDINFO f;
  f.SetFieldId(StFINDINFO::kGroup);
  f.nested = items;
  f.SetLink(link);
  return f;
}

// The month-range condition of a run: up to four items.
constexpr size_t kFindConditionItems = 4;

// Tax-return figures of one tax rate (496 bytes).
struct StTAXREPORTRATEINFO : ByteRecord<496> {
  enum Off : size_t {
    RateCode = 0,
    KAZEIURIAGEZEINUKI = 8,
    KAZEIURIAGEZEIGAKU = 16,
    KAZEIURIAGEZEIKOMI = 24,
    HIKAZEIURIAGEYUUKAZEINUKI = 32,
    MENZEIURIAGEZEINUKI = 40,
    HIKAZEIURIAGEYUUKAIGAIZEINUKI = 48,
    HIKAZEISHISANYUSHUTSUZEINUKI = 56,
    KAZEIURIAGEHENKANZEINUKI = 64,
    KAZEIURIAGEHENKANZEIGAKU = 72,
    KAZEIURIAGEHENKANZEIKOMI = 80,
    HIKAZEIURIAGEHENKANZEINUKI = 88,
    MENZEIURIAGEHENKANZEINUKI = 96,
    SHIIREKAZEIZEINUKI = 104,
    SHIIREKAZEIZEIGAKU = 112,
    SHIIREKAZEIZEIKOMI = 120,
    SHIIREHIKAZEIZEINUKI = 128,
    SHIIREHIKAZEIZEIGAKU = 136,
    SHIIREHIKAZEIZEIKOMI = 144,
    SHIIREKYOTUUZEINUKI = 152,
    SHIIREKYOTUUZEIGAKU = 160,
    SHIIREKYOTUUZEIKOMI = 168,
    YUNYUSHIIREKAZEIZEIGAKU = 184,
    YUNYUSHIIREHIKAZEIZEIGAKU = 208,
    YUNYUSHIIREKYOTUUZEIGAKU = 232,
    SHIIREHENKANKAZEIZEINUKI = 256,
    SHIIREHENKANKAZEIZEIGAKU = 264,
    SHIIREHENKANKAZEIZEIKOMI = 272,
    SHIIREHENKANHIKAZEIZEINUKI = 280,
    SHIIREHENKANHIKAZEIZEIGAKU = 288,
    SHIIREHENKANHIKAZEIZEIKOMI = 296,
    SHIIREHENKANKYOTUUZEINUKI = 304,
    SHIIREHENKANKYOTUUZEIGAKU = 312,
    SHIIREHENKANKYOTUUZEIKOMI = 320,
    YUNYUHENKANKAZEIZEIGAKU = 336,
    YUNYUHENKANHIKAZEIZEIGAKU = 360,
    YUNYUHENKANKYOTUUZEIGAKU = 384,
    KASHIDAOREZEINUKI = 400,
    KASHIDAOREZEIGAKU = 408,
    KASHIDAOREZEIKOMI = 416,
    KASHIDAOREKAISHUZEINUKI = 424,
    KASHIDAOREKAISHUZEIGAKU = 432,
    KASHIDAOREKAISHUZEIKOMI = 440,
    YUNYUSHIIRETIHO = 476,
    YUNYUHENKANTIHO = 484,
  };
  int32_t Rate() const { return I32(RateCode); }
  void SetRate(int32_t v) { SetI32(RateCode, v); }
  int64_t Amount(Off f) const { return I64(f); }
  void SetAmount(Off f, int64_t v) { SetI64(f, v); }
  void AddAmount(Off f, int64_t v) { AddI64(f, v); }
};

// Sales and sales returns of one business type at one rate (63 bytes, packed).
struct StTAXREPORTBUSINESSTYPEINFO : ByteRecord<63> {
  enum Off : size_t {
    RateCode = 0,
    BusinessType = 4,
    KAZEIURIAGESHUZEIKOMI = 7,
    KAZEIURIAGESHUZEIGAKU = 15,
    KAZEIURIAGESHUZEINUKI = 23,
    KAZEIHENKANSHUZEIKOMI = 31,
    KAZEIHENKANSHUZEIGAKU = 39,
    KAZEIHENKANSHUZEINUKI = 47,
  };
  int32_t Rate() const { return I32(RateCode); }
  void SetRate(int32_t v) { SetI32(RateCode, v); }
  uint8_t Type() const { return U8(BusinessType); }
  void SetType(uint8_t v) { SetU8(BusinessType, v); }
  int64_t Amount(Off f) const { return I64(f); }
  void SetAmount(Off f, int64_t v) { SetI64(f, v); }
  void AddAmount(Off f, int64_t v) { AddI64(f, v); }
};

// One account's sums per month slot (636 bytes). Slot 13 holds the year-end
// closing adjustments, slot 14 the interim closing adjustments.
struct StKAMOKUSUMINFO : ByteRecord<636> {
  static constexpr int kSlots = 15;
  static constexpr size_t kExclusionAOff = 126, kSummaryLineOff = 127, kExclusionBOff = 128,
                          kBalanceSideOff = 130, kClassCodeOff = 136, kDebitExOff = 152,
                          kDebitInOff = 272, kCreditExOff = 392, kCreditInOff = 512;
  uint8_t ExclusionA() const { return U8(kExclusionAOff); }
  uint8_t SummaryLine() const { return U8(kSummaryLineOff); }
  uint8_t ExclusionB() const { return U8(kExclusionBOff); }
  uint8_t BalanceSide() const { return U8(kBalanceSideOff); }
  int32_t ClassCode() const { return I32(kClassCodeOff); }
  int64_t Debit(int slot, bool taxIncluded) const {
    return I64((taxIncluded ? kDebitInOff : kDebitExOff) + 8 * slot);
  }
  int64_t Credit(int slot, bool taxIncluded) const {
    return I64((taxIncluded ? kCreditInOff : kCreditExOff) + 8 * slot);
  }
};

// One account of the account master (208 bytes).
struct StKAMOKUINFO : ByteRecord<208> {
  static constexpr size_t kCodeOff = 16, kCodeTextOff = 22, kCodeTextCap = 16,
                          kListExclusionOff = 110, kClassCodeOff = 144;
  int32_t Code() const { return I32(kCodeOff); }
  std::string_view CodeText() const { return Text(kCodeTextOff, kCodeTextCap); }
  uint8_t ListExclusion() const { return U8(kListExclusionOff); }
  int32_t ClassCode() const { return I32(kClassCodeOff); }
};

// One tax-summary line (826 bytes).
struct StTAXSUMINFO : ByteRecord<826> {
  static constexpr size_t kCodeTextOff = 0, kCodeTextCap = 16, kAmountOff = 598;
  std::string_view CodeText() const { return Text(kCodeTextOff, kCodeTextCap); }
  int64_t Amount() const { return I64(kAmountOff); }
};

// One journal entry, both sides (536 bytes).
struct StSWKTINFO : ByteRecord<536> {
  static constexpr size_t kDebitOff = 88, kCreditOff = 128;
  // Side fields relative to kDebitOff / kCreditOff.
  static constexpr size_t kAccount = 0, kDepartment = 4, kAmount = 8, kTax = 16, kCategory = 24;
  int32_t Account(size_t side) const { return I32(side + kAccount); }
  int32_t Department(size_t side) const { return I32(side + kDepartment); }
  int64_t AmountExcl(size_t side) const { return I64(side + kAmount); }
  int64_t TaxAmount(size_t side) const { return I64(side + kTax); }
  uint8_t Category(size_t side) const { return U8(side + kCategory); }
};

// One fixed asset (545 bytes); kind 9 is a deferred asset.
struct StKOTEISHISANINFO : ByteRecord<545> {
  static constexpr size_t kKindOff = 48, kAmountOff = 368, kIncomeTypeOff = 528;
  int32_t Kind() const { return I32(kKindOff); }
  int64_t AssetAmount() const { return I64(kAmountOff); }
  int16_t IncomeType() const { return I16(kIncomeTypeOff); }  // 1 business, 2 real estate
};
// Buffers the fixed-asset walk fills besides the asset itself.
using StKOTEISHISANYEAR = ByteRecord<960>;
using StKOTEISHISANMONTH = ByteRecord<1536>;

// One department (256 bytes).
struct StBUMONINFO : ByteRecord<256> {
  static constexpr size_t kCodeOff = 0, kLinkOff = 16, kNameOff = 20, kNameCap = 48, kKindOff = 79,
                          kIncomeTypeOff = 128;
  int32_t Code() const { return I32(kCodeOff); }
  int32_t LinkField() const { return I32(kLinkOff); }
  uint8_t Kind() const { return U8(kKindOff); }
  uint8_t IncomeType() const { return U8(kIncomeTypeOff); }  // 1 business, 3 real estate
};

// One help-tooltip entry handed to the tooltip manager.
struct TOOLTIPMSG_TABLE {
  uint32_t controlId;
  const char* text;
  uint32_t flag;
};

}  // namespace ltb::host
