// The wxWidgets front end: real windows for the conditions dialog, the
// progress dialog, message boxes and the save-file dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/env.h"
#include "platform/process_settings.h"
#include "ui/seat.h"
#include "ui/unattended.h"

namespace ltb::ui::gui {

// True when the display of `settings` can be opened and wxWidgets
// initialised; otherwise false with *why (UTF-8, may be null) saying what
// is missing.
bool GuiAvailable(const platform::ProcessSettings& settings, std::string* why);

// A seat showing real windows. The toolkit is started here and cleaned up
// when the seat is destroyed; null (with *why) when it cannot start.
// parentWindow is the parent program's X11 window (0 for none): the
// conditions dialog is made transient for it. With opts.execute the
// dialog is shown, filled from opts and Execute pressed; questions are
// answered from opts.answer and notes go to standard error. env (which
// must outlive the seat) maps the save-file dialog's paths and paces the
// progress dialog; settings name the display and the session bus.
std::unique_ptr<Seat> NewGuiSeat(platform::Env& env, const platform::ProcessSettings& settings,
                                 const UnattendedOptions& opts, uint64_t parentWindow,
                                 std::string* why = nullptr);

}  // namespace ltb::ui::gui
