// The database settings dialog on Windows: the template DlgOptionsDatabase
// (settings_dialog.rc) run modally from the library's own module.
#include "frame/export_guard.h"
#include "frame/lifecycle.h"
#include "frame/settings_dialog_rules.h"
#include "include/lerv32.h"

namespace lerv32 {

namespace {

// One modal dialog per thread at a time: the state lives as long as the
// thread's open dialog.
thread_local settings_dialog::DialogState t_open_dialog;

void ShowSettings(HWND dialog) {
  for (const settings_dialog::ControlView& control : settings_dialog::Apply()) {
    CheckDlgButton(dialog, control.id, control.checked ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, control.id), control.enabled ? TRUE : FALSE);
  }
}

INT_PTR OnCommand(HWND dialog, int id) {
  const bool checked = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
  switch (settings_dialog::Command(t_open_dialog, id, checked)) {
    case settings_dialog::CommandResult::kAccepted: EndDialog(dialog, 1); break;
    case settings_dialog::CommandResult::kCancelled: EndDialog(dialog, 0); break;
    case settings_dialog::CommandResult::kStay: ShowSettings(dialog); break;
  }
  return TRUE;
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  return Guarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
    switch (message) {
      case WM_INITDIALOG:
        settings_dialog::Init(t_open_dialog);
        ShowSettings(dialog);
        return TRUE;
      case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam));
      default: return FALSE;
    }
  });
}

}  // namespace lerv32

extern "C" int32_t LERV32_CALL rv_OdbcSettingsDialog(LERV32_HWND parent) {
  return lerv32::Guarded<int32_t>(-1, [&]() -> int32_t {
    const lerv32::settings_dialog::OpenDialogLock one_at_a_time;
    if (!one_at_a_time.Held()) return -1;
    HWND owner = parent != nullptr ? static_cast<HWND>(parent) : GetDesktopWindow();
    // DialogBox answers a parent that is no window with 0, which means Abbrechen here.
    if (!IsWindow(owner)) return -1;
    const INT_PTR result =
        DialogBoxParamA(lerv32::DllInstance, "DlgOptionsDatabase", owner, lerv32::SettingsDialogProc, 0);
    return result == -1 ? -1 : static_cast<int32_t>(result);
  });
}
