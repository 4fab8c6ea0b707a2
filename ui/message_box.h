// Message-box flags and answers for the views: the values the host declares
// (host/message_box_flags.h), so that a flag passed from the host to a seat
// needs no translation.
#pragma once

#include "host/message_box_flags.h"

namespace ltb::ui {

using host::MessageBoxAnswer;
using host::MessageBoxFlags;
using enum host::MessageBoxFlags;
using enum host::MessageBoxAnswer;

}  // namespace ltb::ui
