#include "frame/settings_dialog_rules.h"

#include <mutex>

#include "frame/settings.h"

namespace lerv32::settings_dialog {

namespace {

SettingValues CurrentSettings() {
  return {OemConvert, ExSQL_Enabled, ExSQL_Maximum, ExSQL_Append, Display_Errors};
}

void RestoreSettings(const SettingValues& values) {
  OemConvert = values.oem_convert;
  ExSQL_Enabled = values.exsql_enabled;
  ExSQL_Maximum = values.exsql_maximum;
  ExSQL_Append = values.exsql_append;
  Display_Errors = values.display_errors;
}

// Procedures off means no procedure level and no optimised append either.
void ClearProceduresUnlessEnabled() {
  if (ExSQL_Enabled == 1) return;
  ExSQL_Enabled = 0;
  ExSQL_Maximum = 0;
  ExSQL_Append = 0;
}

std::mutex& DialogMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

OpenDialogLock::OpenDialogLock() : held_(DialogMutex().try_lock()) {}

OpenDialogLock::~OpenDialogLock() {
  if (held_) DialogMutex().unlock();
}

void Init(DialogState& state) {
  LoadSettings();
  state.opened = CurrentSettings();
  ClearProceduresUnlessEnabled();
}

CommandResult Command(DialogState& state, int id, bool checked) {
  const int32_t value = checked ? 1 : 0;
  switch (id) {
    case kIdUseProcedures:
      ExSQL_Enabled = value;
      ExSQL_Maximum = value;
      ExSQL_Append = value;
      break;
    case kIdStandardSqlOnly: ExSQL_Maximum = 0; break;
    case kIdProceduresPerCall: ExSQL_Maximum = 1; break;
    case kIdProceduresPrecompiled: ExSQL_Maximum = 2; break;
    case kIdOptimiseAppend: ExSQL_Append = value; break;
    case kIdAnsiCharacters: OemConvert = value; break;
    case kIdConfirmErrors: Display_Errors = value; break;
    case kIdOk:
      SaveSettings();
      return CommandResult::kAccepted;
    case kIdCancel:
      RestoreSettings(state.opened);
      return CommandResult::kCancelled;
    default: break;
  }
  return CommandResult::kStay;
}

DialogView Apply() {
  const bool procedures = ExSQL_Enabled == 1;
  return {{
      {kIdUseProcedures, procedures, true},
      {kIdStandardSqlOnly, ExSQL_Maximum == 0, procedures},
      {kIdProceduresPerCall, ExSQL_Maximum == 1, procedures},
      {kIdProceduresPrecompiled, ExSQL_Maximum == 2, procedures},
      {kIdOptimiseAppend, ExSQL_Append == 1, true},
      {kIdAnsiCharacters, OemConvert == 1, true},
      {kIdConfirmErrors, Display_Errors == 1, true},
  }};
}

}  // namespace lerv32::settings_dialog
