// What the database settings dialog does with the process-wide settings,
// apart from any screen: the Windows dialog procedure and the terminal form
// both drive their controls through these functions.
#ifndef LERV32_FRAME_SETTINGS_DIALOG_RULES_H
#define LERV32_FRAME_SETTINGS_DIALOG_RULES_H

#include <array>
#include <cstdint>

namespace lerv32::settings_dialog {

// Control ids of the dialog template DlgOptionsDatabase.
enum ControlId : int {
  kIdOk = 1,
  kIdCancel = 2,
  kIdUseProcedures = 101,
  kIdStandardSqlOnly = 102,
  kIdProceduresPerCall = 103,
  kIdProceduresPrecompiled = 104,
  kIdOptimiseAppend = 301,
  kIdAnsiCharacters = 302,
  kIdConfirmErrors = 303,
};

struct SettingValues {
  int32_t oem_convert;
  int32_t exsql_enabled;
  int32_t exsql_maximum;
  int32_t exsql_append;
  int32_t display_errors;
};

// The settings as they were when the dialog opened.
struct DialogState {
  SettingValues opened{};
};

// How a control shows the settings: ticked (or selected) and enabled.
struct ControlView {
  int id;
  bool checked;
  bool enabled;
};
constexpr int kSettingControls = 7;
using DialogView = std::array<ControlView, kSettingControls>;

enum class CommandResult { kStay, kAccepted, kCancelled };

// One dialog at a time in the process: the dialog works on the
// process-wide settings themselves. Held() is false while another is open.
class OpenDialogLock {
 public:
  OpenDialogLock();
  ~OpenDialogLock();
  OpenDialogLock(const OpenDialogLock&) = delete;
  OpenDialogLock& operator=(const OpenDialogLock&) = delete;
  bool Held() const { return held_; }

 private:
  bool held_;
};

// Loads the settings, keeps them for Abbrechen and clears the procedure
// settings when procedures are switched off.
void Init(DialogState& state);
// A click on control id; checked is the control's state after the click.
// OK saves the settings, Abbrechen puts back what Init found.
CommandResult Command(DialogState& state, int id, bool checked);
// The seven setting controls in tab order, as the settings now are.
DialogView Apply();

}  // namespace lerv32::settings_dialog

#endif  // LERV32_FRAME_SETTINGS_DIALOG_RULES_H
