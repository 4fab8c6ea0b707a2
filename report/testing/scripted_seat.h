// A seat that records the message boxes shown and answers them with a fixed
// answer.
#pragma once

#include <string>
#include <vector>

#include "ui/seat.h"

namespace ltb::report::testing {

class ScriptedSeat : public ui::Seat {
 public:
  struct Shown {
    host::WindowHandle owner;
    std::string text;
    std::string caption;
    unsigned flags;
  };

  int MessageBox(host::WindowHandle owner, std::string_view text, std::string_view caption,
                 unsigned flags) override {
    shown.push_back({owner, std::string(text), std::string(caption), flags});
    return answer;
  }
  int RunModal(ui::DialogController&) override { return 0; }
  bool PickSaveFile(const ui::SaveFileRequest&, std::string*) override { return false; }
  std::unique_ptr<ui::ProgressView> CreateProgressView() override { return nullptr; }

  int answer = ui::kIdYes;
  std::vector<Shown> shown;
};

}  // namespace ltb::report::testing
