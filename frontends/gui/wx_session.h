// Starts wxWidgets inside the run, for its windows only.
//
// The run driver owns start-up and shut-down: the toolkit is initialised
// here without an application object deciding anything (no OnInit, no
// OnExit, no main loop of its own) and cleaned up when the last user lets
// go, whatever path the run took.
#pragma once

#include <string>

#include "platform/process_settings.h"

namespace ltb::ui::gui {

// Whether the X display `name` ($DISPLAY; empty: none) can be opened;
// *why (if given) says why not.
bool DisplayAvailable(const std::string& name, std::string* why);

// Initialises wxWidgets once per process on settings.display; without a
// session bus (as settings describe it) the toolkit's settings store is kept
// in memory. False (with *why) when the toolkit cannot start, e.g. without
// a display.
bool StartWx(const platform::ProcessSettings& settings, std::string* why);
// Starts the toolkit (if needed) and leaves it running for the next
// StartWx, which takes the reference over: probing and then using the
// toolkit initialises it once.
bool ProbeWx(const platform::ProcessSettings& settings, std::string* why);
// Cleans the toolkit up again; harmless when it was never started.
void StopWx();

// Holds the toolkit started for its lifetime.
class WxSession {
 public:
  WxSession() = default;
  ~WxSession() {
    if (started_) StopWx();
  }
  WxSession(const WxSession&) = delete;
  WxSession& operator=(const WxSession&) = delete;
  bool Start(const platform::ProcessSettings& settings, std::string* why) {
    started_ = StartWx(settings, why);
    return started_;
  }
  bool started() const { return started_; }

 private:
  bool started_ = false;
};

}  // namespace ltb::ui::gui
