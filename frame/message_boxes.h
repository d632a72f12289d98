// Every message box the library shows goes through here.
//
// Unattended runs (tests, services) must never wait on a box nobody sees:
// off Windows, and on Windows while LERV32_MSGBOX_ANSWERS or
// LERV32_MSGBOX_LOG is set, no window opens. The box is written to standard
// error and answered by the next letter of LERV32_MSGBOX_ANSWERS (O, C, Y, N,
// A, R, I; a new value starts again) or else by its default button;
// LERV32_MSGBOX_LOG names a file that gets one line per box: caption, text,
// buttons, answer (tab-separated, escaped, UTF-8).
#ifndef LERV32_FRAME_MESSAGE_BOXES_H
#define LERV32_FRAME_MESSAGE_BOXES_H

#include "platform/win_api.h"

namespace lerv32 {

// As MessageBoxA, owned by the desktop; returns the button's ID.
int ShowMessageBox(const char* text, const char* caption, UINT type);

}  // namespace lerv32

#endif  // LERV32_FRAME_MESSAGE_BOXES_H
