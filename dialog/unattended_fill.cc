#include "dialog/unattended_fill.h"

#include "dialog/tax_conditions_dialog.h"
#include "platform/messages.h"
#include "platform/win_path.h"

namespace ltb::dialog {

bool PrefillConditions(ui::DialogController& dialog, const ui::UnattendedOptions& options,
                       const platform::DriveTable& drives, std::string* error) {
  if (options.method) {
    const bool returnValues = *options.method == ui::kTaxReturnValues;
    const int id = returnValues ? kIdReturnMethod : kIdJournalMethod;
    const ui::ControlState radio = dialog.State(id);
    if (!radio.checked) {
      if (!radio.enabled) {
        *error = returnValues ? platform::Tr(
                                    "--method return: the saved tax-return values cannot "
                                    "be used for this dataset. Run with --method journal.")
                              : platform::Tr(
                                    "--method journal: the method cannot be changed for "
                                    "this dataset. Run with --method return.");
        return false;
      }
      dialog.OnClick(id);
    }
  }
  if (options.months) {
    if (!dialog.State(kIdStartMonth).enabled || !dialog.State(kIdEndMonth).enabled) {
      *error = platform::Tr(
          "--months: the month range applies to journal aggregation only. Run "
          "with --method journal, or leave --months out.");
      return false;
    }
    dialog.OnTextChanged(kIdStartMonth, std::to_string(options.months->first));
    dialog.OnTextChanged(kIdEndMonth, std::to_string(options.months->second));
  }
  if (options.output) {
    if (!dialog.State(kIdOutputPath).enabled) {
      *error = platform::Tr(
          "--output: the output file is fixed by the program that started this "
          "run. Leave --output out.");
      return false;
    }
    dialog.OnTextChanged(kIdOutputPath, platform::UserPathToWindows(drives, *options.output));
  }
  return true;
}

bool PressExecute(ui::DialogController& dialog) {
  dialog.OnKeyDown(ui::Key::kF12, dialog.FocusId());
  int code = 0;
  return dialog.Ended(&code) && code == ui::kIdExecuteButton;
}

}  // namespace ltb::dialog
