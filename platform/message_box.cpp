// The user interface calls that have no screen here.
#include "platform/win_api.h"

BOOL MessageBeep(UINT) { return TRUE; }

HWND GetDesktopWindow() {
  static int desktop;
  return &desktop;
}
