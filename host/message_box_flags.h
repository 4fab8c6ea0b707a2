// Message-box flags and answers, with the Windows values that the program
// and the host pass around: the host shows its own messages through
// ClAccConnect::DispMsg and the MessageSink with them, and ui::Seat shows
// the program's messages with the same values.
#pragma once

namespace ltb::host {

enum MessageBoxFlags : unsigned {
  kMbOk = 0x0,
  kMbYesNo = 0x4,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
  kMbButtonMask = 0xF,
  kMbIconMask = 0xF0,
};

enum MessageBoxAnswer : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

}  // namespace ltb::host
