#include "dialog/unattended_fill.h"

#include "dialog/tax_conditions_dialog.h"
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
        *error =
            returnValues
                ? "--method return: the saved tax-return values cannot be used for this dataset"
                : "--method journal: the method cannot be changed";
        return false;
      }
      dialog.OnClick(id);
    }
  }
  if (options.months) {
    if (!dialog.State(kIdStartMonth).enabled || !dialog.State(kIdEndMonth).enabled) {
      *error = "--months: the month range applies to journal aggregation only";
      return false;
    }
    dialog.OnTextChanged(kIdStartMonth, std::to_string(options.months->first));
    dialog.OnTextChanged(kIdEndMonth, std::to_string(options.months->second));
  }
  if (options.output) {
    if (!dialog.State(kIdOutputPath).enabled) {
      *error = "--output: the output file is fixed by the program that started this run";
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
