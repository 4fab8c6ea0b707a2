#include "frontends/console/console_form.h"

#include <optional>
#include <string>

#include "dialog/tax_conditions_dialog.h"
#include "frontends/console/console_io.h"
#include "platform/cp932.h"
#include "platform/messages.h"
#include "platform/win_path.h"
#include "resources/conditions_dialog_template.h"

namespace ltb::ui {
namespace {

using namespace ltb::dialog;  // control ids

std::string TemplateLabel(int id) {
  const resources::ControlTemplate* c =
      resources::FindControl(resources::ConditionsDialogTemplate(), id);
  return c ? WithoutMnemonic(c->text) : std::string();
}

// A button's name without its mnemonic, key and ellipsis ("実行(F12)" gives
// 実行, "参照..." 参照), CP932.
std::string ButtonName(int id) {
  std::string name = TemplateLabel(id);
  for (const char end : {'(', '.'}) {
    if (const size_t at = platform::FindChar(name, end, 0); at != std::string::npos && at > 0) {
      name.erase(at);
    }
  }
  return name;
}

// Asks for a value: nullopt at end of input, the current value when the
// line is empty, else the typed text in CP932.
std::optional<std::string> Ask(std::FILE* in, std::FILE* out, const std::string& label,
                               const std::string& current) {
  std::optional<std::string> line = Prompt(in, out, label, current);
  if (!line) return std::nullopt;
  if (line->empty()) return current;
  std::string cp932;
  platform::Utf8ToCp932(*line, &cp932);
  return cp932;
}

void PrintFacts(DialogController& dialog, std::FILE* out) {
  PrintCp932(out, dialog.Caption());
  std::fputc('\n', out);
  const int rows[][2] = {{kIdCompanyLabel, kIdCompany},
                         {kIdPeriodLabel, kIdPeriod},
                         {kIdFilingClassLabel, kIdFilingClass},
                         {kIdDeductionLabel, kIdDeduction}};
  for (const auto& row : rows) {
    std::fputs("  ", out);
    PrintCp932(out, dialog.State(row[0]).text);
    PrintCp932(out, "：");
    PrintCp932(out, dialog.State(row[1]).text);
    std::fputc('\n', out);
  }
}

void PrintMethods(DialogController& dialog, std::FILE* out) {
  PrintCp932(out, TemplateLabel(kIdMethodGroup));
  std::fputc('\n', out);
  const int ids[] = {kIdJournalMethod, kIdReturnMethod};
  for (int i = 0; i < 2; ++i) {
    const ControlState s = dialog.State(ids[i]);
    std::fprintf(out, "  %d) (%c) ", i + 1, s.checked ? '*' : ' ');
    PrintCp932(out, TemplateLabel(ids[i]));
    if (!s.enabled) std::fprintf(out, "  %s", platform::Tr("(not available)"));
    std::fputc('\n', out);
  }
}

// One pass over the editable fields; false at end of input.
bool EditFields(DialogController& dialog, const platform::DriveTable& drives, std::FILE* in,
                std::FILE* out) {
  PrintMethods(dialog, out);
  if (dialog.State(kIdJournalMethod).enabled || dialog.State(kIdReturnMethod).enabled) {
    const char* current = dialog.State(kIdReturnMethod).checked ? "2" : "1";
    std::optional<std::string> m = Ask(in, out, TemplateLabel(kIdMethodGroup) + " (1/2)", current);
    if (!m) return false;
    if (*m == "1") dialog.OnClick(kIdJournalMethod);
    if (*m == "2") dialog.OnClick(kIdReturnMethod);
  }
  // The dialog shows one range label with 月度 after each box; the form
  // asks for each month by its own name.
  const struct {
    int id;
    std::string label;
  } months[] = {{kIdStartMonth, platform::Tr932("Start month")},
                {kIdEndMonth, platform::Tr932("End month")}};
  for (const auto& month : months) {
    const ControlState s = dialog.State(month.id);
    if (!s.enabled) {
      PrintCp932(out, month.label + "： " + s.text + "\n");
      continue;
    }
    std::optional<std::string> v = Ask(in, out, month.label, s.text);
    if (!v) return false;
    dialog.OnTextChanged(month.id, *v);
  }
  const ControlState output = dialog.State(kIdOutputPath);
  const std::string outputLabel = platform::Tr932("Output file");
  if (!output.enabled) {
    PrintCp932(out, outputLabel + "： " + output.text + "\n");
  } else {
    std::optional<std::string> typed = Prompt(in, out, outputLabel, output.text);
    if (!typed) return false;
    if (!typed->empty()) {
      dialog.OnTextChanged(kIdOutputPath, platform::UserPathToWindows(drives, *typed));
    }
  }
  return true;
}

}  // namespace

void RunConditionsForm(DialogController& dialog, const platform::DriveTable& drives, std::FILE* in,
                       std::FILE* out) {
  PrintFacts(dialog, out);
  int code = 0;
  bool edit = true;
  while (!dialog.Ended(&code)) {
    if (edit && !EditFields(dialog, drives, in, out)) {
      dialog.OnCancel();
      break;
    }
    edit = false;
    const bool canBrowse = dialog.State(kIdBrowse).enabled;
    // The dialog's buttons by their names (the cancel button, not the
    // message-box answer of that name); each is chosen by its letter or
    // its name.
    const std::string execute = ButtonName(ui::kIdExecuteButton);
    const std::string browse = ButtonName(kIdBrowse);
    const std::string cancel = ButtonName(ui::kIdCancelButton);
    PrintCp932(out, canBrowse ? platform::Format(platform::Tr932("e = %s, b = %s, c = %s, "
                                                                 "Enter = change the values: ")
                                                     .c_str(),
                                                 TemplateLabel(ui::kIdExecuteButton).c_str(),
                                                 TemplateLabel(kIdBrowse).c_str(),
                                                 TemplateLabel(ui::kIdCancelButton).c_str())
                              : platform::Format(platform::Tr932("e = %s, c = %s, "
                                                                 "Enter = change the values: ")
                                                     .c_str(),
                                                 TemplateLabel(ui::kIdExecuteButton).c_str(),
                                                 TemplateLabel(ui::kIdCancelButton).c_str()));
    std::fflush(out);
    std::optional<std::string> command = ReadLine(in);
    if (!command) {
      dialog.OnCancel();
      break;
    }
    std::string typed;
    platform::Utf8ToCp932(*command, &typed);
    if (*command == "e" || *command == "E" || typed == execute) {
      dialog.OnKeyDown(Key::kF12, dialog.FocusId());
      edit = !dialog.Ended(&code);  // a refused value is asked again
    } else if ((*command == "b" || *command == "B" || typed == browse) && canBrowse) {
      dialog.OnClick(kIdBrowse);
    } else if (*command == "c" || *command == "C" || typed == cancel) {
      dialog.OnCancel();
    } else if (command->empty()) {
      edit = true;
    } else {
      std::fprintf(out, "%s\n",
                   canBrowse ? platform::Tr("Please answer e, b or c (or the name of the "
                                            "button), or press Enter.")
                             : platform::Tr("Please answer e or c (or the name of the button), "
                                            "or press Enter."));
    }
  }
}

}  // namespace ltb::ui
