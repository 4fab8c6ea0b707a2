// The notice a run ends with when the person stops it, from the conditions
// dialog or from the progress dialog (CP932 text).
#pragma once

namespace ltb::ui {

inline constexpr const char* kCancelNotice = "｢消費税｣の集計を中止します。";

}  // namespace ltb::ui
