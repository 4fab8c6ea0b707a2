#include "frontends/console/console_seat.h"

#include <string>

#include "dialog/tax_conditions_dialog.h"
#include "dialog/unattended_fill.h"
#include "frontends/console/console_form.h"
#include "frontends/console/console_io.h"
#include "frontends/console/console_progress_view.h"
#include "platform/cp932.h"
#include "platform/messages.h"
#include "platform/win_path.h"

namespace ltb::ui {
namespace {

class ConsoleSeat : public Seat {
 public:
  ConsoleSeat(platform::Env& env, const UnattendedOptions& options, std::FILE* in, std::FILE* out,
              std::FILE* err, bool interactive)
      : env_(env), options_(options), in_(in), out_(out), err_(err), interactive_(interactive) {}

  int MessageBox(host::WindowHandle, std::string_view text, std::string_view caption,
                 unsigned flags) override {
    std::fputc('[', out_);
    PrintCp932(out_, caption);
    std::fputs("] ", out_);
    PrintCp932(out_, text);
    std::fputc('\n', out_);
    std::fflush(out_);
    if ((flags & kMbButtonMask) != kMbYesNo) return kIdOk;
    return Answer();
  }

  int RunModal(DialogController& dialog) override {
    dialog.OnInitDialog();
    int code = 0;
    if (dialog.Ended(&code)) return code;
    std::string error;
    const bool prefilled = dialog::PrefillConditions(dialog, options_, env_.Drives(), &error);
    if (!prefilled) std::fprintf(err_, "%s\n", error.c_str());
    if (options_.execute) {
      // Unattended: a refused value ends the run as cancelled instead of
      // asking again.
      if (!prefilled || !dialog::PressExecute(dialog)) dialog.OnCancel();
    } else if (!interactive_) {
      std::fprintf(err_, "%s\n",
                   platform::Tr("This run needs a terminal to show the conditions: run the "
                                "program in a terminal, or give --execute with --method, "
                                "--months and --output to run unattended."));
      dialog.OnCancel();
    } else {
      RunConditionsForm(dialog, env_.Drives(), in_, out_);
    }
    dialog.Ended(&code);
    return code;
  }

  bool PickSaveFile(const SaveFileRequest& request, std::string* chosen) override {
    if (!interactive_) return false;
    std::optional<std::string> typed =
        Prompt(in_, out_, request.title, request.initialFolder + request.initialName);
    if (!typed || typed->empty()) return false;
    std::string path = platform::UserPathToWindows(env_.Drives(), *typed);
    const bool relative = path[0] != '\\' && path.find(':') == std::string::npos;
    if (relative) path = request.initialFolder + path;
    const size_t lastBackslash = platform::FindLastChar(path, '\\');
    const size_t nameStart = lastBackslash == std::string::npos ? 0 : lastBackslash + 1;
    if (path.size() > nameStart && platform::FindChar(path, '.', nameStart) == std::string::npos &&
        !request.defaultExt.empty()) {
      path += "." + request.defaultExt;
    }
    *chosen = path;
    return true;
  }

  std::unique_ptr<ProgressView> CreateProgressView() override {
    return std::make_unique<ConsoleProgressView>(err_, env_);
  }

 private:
  int Answer() {
    if (options_.answer) {
      std::fprintf(
          out_, "%s\n",
          *options_.answer ? platform::Tr("-> yes (--yes)") : platform::Tr("-> no (--no)"));
      return *options_.answer ? kIdYes : kIdNo;
    }
    if (!interactive_) {
      std::fprintf(err_, "%s\n",
                   platform::Tr("This question needs an answer and there is no terminal to ask "
                                "it: the answer is no. Run with --yes or --no to answer it."));
      return kIdNo;
    }
    for (;;) {
      std::fputs(platform::Tr("(y/n): "), out_);
      std::fflush(out_);
      std::optional<std::string> line = ReadLine(in_);
      if (!line) return kIdNo;
      // The letters, the English words and the Japanese ones (typed in
      // UTF-8; the literals are CP932).
      std::string typed;
      platform::Utf8ToCp932(*line, &typed);
      if (*line == "y" || *line == "Y" || *line == "yes" || typed == "はい") return kIdYes;
      if (*line == "n" || *line == "N" || *line == "no" || typed == "いいえ") return kIdNo;
    }
  }

  platform::Env& env_;
  UnattendedOptions options_;
  std::FILE* in_;
  std::FILE* out_;
  std::FILE* err_;
  bool interactive_;
};

}  // namespace

std::unique_ptr<Seat> NewConsoleSeat(platform::Env& env, const UnattendedOptions& options,
                                     std::FILE* in, std::FILE* out, std::FILE* err,
                                     bool interactive) {
  return std::make_unique<ConsoleSeat>(env, options, in, out, err, interactive);
}

}  // namespace ltb::ui
