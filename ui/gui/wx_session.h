// Starts wxWidgets inside the run, for its windows only.
//
// The run driver owns start-up and shut-down: the toolkit is initialised
// here without an application object deciding anything (no OnInit, no
// OnExit, no main loop of its own) and cleaned up when the last user lets
// go, whatever path the run took.
#pragma once

#include <string>

namespace ltb::ui::gui {

// Whether an X display can be opened; *why (if given) says why not.
bool DisplayAvailable(std::string* why);

// Initialises wxWidgets once per process. False (with *why) when the
// toolkit cannot start, e.g. without a display.
bool StartWx(std::string* why);
// Starts the toolkit (if needed) and leaves it running for the next
// StartWx, which takes the reference over: probing and then using the
// toolkit initialises it once.
bool ProbeWx(std::string* why);
// Cleans the toolkit up again; harmless when it was never started.
void StopWx();

// Holds the toolkit started for its lifetime.
class WxSession {
 public:
  WxSession() = default;
  ~WxSession() { if (started_) StopWx(); }
  WxSession(const WxSession&) = delete;
  WxSession& operator=(const WxSession&) = delete;
  bool Start(std::string* why) { started_ = StartWx(why); return started_; }
  bool started() const { return started_; }

 private:
  bool started_ = false;
};

}  // namespace ltb::ui::gui
