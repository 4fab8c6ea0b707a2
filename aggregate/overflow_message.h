// The message shown when an amount leaves the range the aggregation can
// sum; the run then ends without a report (exitCode 2).
#pragma once

namespace ltb::aggregate {

inline constexpr const char kAmountOverflowMessage[] =
    "集計中に金額が計算できる範囲を超えました。\n仕訳の金額を確認してください。\n\n"
    "消費税情報は出力されません。";

}  // namespace ltb::aggregate
