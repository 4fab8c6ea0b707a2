// ScopedWalk: pairs a walker's MoveReady with its MoveFinish, so that every
// way out of a walk loop finishes the walk exactly once.
#pragma once

namespace ltb::host {

// Finishes the walk of `walker` (any walker with MoveFinish: ClRuleShohizei,
// ClRuleShiwake, ClRuleKamoku, ClRuleGenkashokyaku) when the scope ends.
// Created right after the walker's MoveReady; the walker must outlive it.
template <typename Walker>
class ScopedWalk {
 public:
  explicit ScopedWalk(Walker* walker) : walker_(walker) {}
  ~ScopedWalk() { Finish(); }
  ScopedWalk(const ScopedWalk&) = delete;
  ScopedWalk& operator=(const ScopedWalk&) = delete;

  // Calls MoveFinish now, when the host must see it before what follows in
  // the scope; the end of the scope then calls nothing.
  void Finish() {
    if (walker_) walker_->MoveFinish();
    walker_ = nullptr;
  }
  // Ends the scope's duty without MoveFinish: for a walk the host broke off
  // with a read error, which the caller leaves as the host left it.
  void Abandon() { walker_ = nullptr; }

 private:
  Walker* walker_;
};

}  // namespace ltb::host
