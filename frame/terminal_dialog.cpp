// The database settings dialog off Windows: a form on the controlling
// terminal with the controls, texts and rules of the Windows dialog.
#define NCURSES_WIDECHAR 1
#include <curses.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <string>

#include "frame/export_guard.h"
#include "frame/settings_dialog_rules.h"
#include "frame/terminal_screen.h"
#include "include/lerv32.h"

namespace lerv32 {

namespace {

using namespace settings_dialog;

enum class Kind { kCheckBox, kRadio, kButton };

struct FormControl {
  int id;
  Kind kind;
  const char* text;  // Windows-1252
  int row;
  int column;
};

constexpr int kFormWidth = 80;
constexpr int kFormHeight = 9;
constexpr int kSeparatorRow = 6;
const char kCaption[] = "Datenbankeinstellungen";
const char kTooSmall[] = "Datenbankeinstellungen: das Fenster ist zu klein (mindestens 80 x 10). Esc: Abbrechen";
const char kHelp[] = "Tab/Pfeile: wechseln  Leertaste: w\xe4hlen  Enter: OK  Esc: Abbrechen";

// In tab order; the first seven are the setting controls in the order of Apply().
const FormControl kControls[] = {
    {kIdUseProcedures, Kind::kCheckBox, "TRANSACT - SQL Prozeduren verwenden", 1, 3},
    {kIdStandardSqlOnly, Kind::kRadio, "nur Standard - SQL verf\xfc" "gbar", 2, 3},
    {kIdProceduresPerCall, Kind::kRadio, "Prozeduren je Zugriff neu aufrufen", 3, 3},
    {kIdProceduresPrecompiled, Kind::kRadio, "Prozeduren f\xfcr Session vorkompilieren", 4, 3},
    {kIdOptimiseAppend, Kind::kCheckBox, "Anf\xfcgen optimieren", 1, 45},
    {kIdAnsiCharacters, Kind::kCheckBox, "Ansi Zeichensatz verwenden", 2, 45},
    {kIdConfirmErrors, Kind::kCheckBox, "ODBC Fehler best\xe4tigen lassen", 3, 45},
    {kIdOk, Kind::kButton, "OK", 7, 51},
    {kIdCancel, Kind::kButton, "Abbrechen", 7, 62},
};
constexpr std::size_t kControlCount = sizeof kControls / sizeof kControls[0];

struct ControlLook {
  bool checked;
  bool enabled;
};

ControlLook LookOf(const DialogView& view, std::size_t index) {
  if (index < view.size()) return {view[index].checked, view[index].enabled};
  return {false, true};
}

// text at row and column, cut at the screen's right edge: curses would wrap
// it onto the next row, into other controls.
void PutClipped(int row, int column, const std::wstring& text) {
  if (row >= LINES || column >= COLS) return;
  const int room = COLS - column;
  mvaddnwstr(row, column, text.c_str(), static_cast<int>(std::min<std::size_t>(text.size(), room)));
}

// "[x]" for a check box, "(*)" for a radio button; a disabled radio button
// has dashes for brackets.
std::wstring Marker(const FormControl& control, ControlLook look) {
  const wchar_t mark = look.checked ? (control.kind == Kind::kRadio ? L'*' : L'x') : L' ';
  const wchar_t* brackets = control.kind == Kind::kCheckBox ? L"[]" : look.enabled ? L"()" : L"--";
  return {brackets[0], mark, brackets[1], L' '};
}

void DrawControl(const TerminalScreen& screen, const FormControl& control, ControlLook look,
                 bool focused) {
  mvaddch(control.row, control.column - 1, focused ? '>' : ' ');
  attrset(look.enabled ? A_NORMAL : A_DIM);
  const std::wstring text = screen.Text(control.text);
  PutClipped(control.row, control.column,
             control.kind == Kind::kButton ? L"[ " + text + L" ]" : Marker(control, look) + text);
  attrset(A_NORMAL);
}

void DrawFrame(const TerminalScreen& screen) {
  erase();
  mvhline(0, 0, ACS_HLINE, kFormWidth);
  mvhline(kSeparatorRow, 1, ACS_HLINE, kFormWidth - 2);
  mvhline(kFormHeight - 1, 0, ACS_HLINE, kFormWidth);
  mvvline(0, 0, ACS_VLINE, kFormHeight);
  mvvline(0, kFormWidth - 1, ACS_VLINE, kFormHeight);
  mvaddch(0, 0, ACS_ULCORNER);
  mvaddch(0, kFormWidth - 1, ACS_URCORNER);
  mvaddch(kSeparatorRow, 0, ACS_LTEE);
  mvaddch(kSeparatorRow, kFormWidth - 1, ACS_RTEE);
  mvaddch(kFormHeight - 1, 0, ACS_LLCORNER);
  mvaddch(kFormHeight - 1, kFormWidth - 1, ACS_LRCORNER);
  PutClipped(0, 2, L" " + screen.Text(kCaption) + L" ");
  PutClipped(kFormHeight, 1, screen.Text(kHelp));
}

void Draw(const TerminalScreen& screen, std::size_t focus) {
  DrawFrame(screen);
  const DialogView view = Apply();
  for (std::size_t i = 0; i < kControlCount; ++i) {
    DrawControl(screen, kControls[i], LookOf(view, i), i == focus);
  }
  move(kControls[focus].row, kControls[focus].column + 1);
  refresh();
}

// The next enabled control after focus, or before it when backwards.
std::size_t NextFocus(std::size_t focus, bool backwards) {
  const DialogView view = Apply();
  const std::size_t step = backwards ? kControlCount - 1 : 1;
  std::size_t next = focus;
  do {
    next = (next + step) % kControlCount;
  } while (!LookOf(view, next).enabled && next != focus);
  return next;
}

// Space on the focused control: a check box turns over, a radio button is
// selected, a push button is pressed.
CommandResult Press(DialogState& state, std::size_t focus) {
  const FormControl& control = kControls[focus];
  const bool checked = control.kind == Kind::kCheckBox ? !LookOf(Apply(), focus).checked : true;
  return Command(state, control.id, checked);
}

CommandResult HandleKey(DialogState& state, int key, std::size_t& focus) {
  switch (key) {
    case '\t': case KEY_DOWN: case KEY_RIGHT: focus = NextFocus(focus, false); break;
    case KEY_BTAB: case KEY_UP: case KEY_LEFT: focus = NextFocus(focus, true); break;
    case ' ': return Press(state, focus);
    case '\r': case '\n': case KEY_ENTER:
      return Command(state, kControls[focus].id == kIdCancel ? kIdCancel : kIdOk, true);
    // Escape, and Ctrl-C, which the raw terminal hands over as a key.
    case 27: case 3: return Command(state, kIdCancel, true);
    case ERR:
      // A terminal that cannot be read any more cannot say OK.
      if (errno != EINTR) return Command(state, kIdCancel, true);
      break;
    default: break;
  }
  return CommandResult::kStay;
}

// The whole form and its help line fit on the screen.
bool FormFits() { return COLS >= kFormWidth && LINES >= kFormHeight + 1; }

// A terminal made too small while the form is open shows a notice and takes
// only Abbrechen: no control can be changed unseen.
CommandResult WaitForRoom(const TerminalScreen& screen, DialogState& state) {
  erase();
  PutClipped(0, 0, screen.Text(kTooSmall));
  refresh();
  errno = 0;
  const int key = getch();
  if (key == 27 || key == 3 || (key == ERR && errno != EINTR)) return Command(state, kIdCancel, true);
  return CommandResult::kStay;
}

int32_t RunForm(const TerminalScreen& screen) {
  DialogState state;
  Init(state);
  std::size_t focus = 0;
  for (;;) {
    CommandResult result = CommandResult::kStay;
    if (FormFits()) {
      Draw(screen, focus);
      errno = 0;
      result = HandleKey(state, getch(), focus);
    } else {
      result = WaitForRoom(screen, state);
    }
    switch (result) {
      case CommandResult::kAccepted: return 1;
      case CommandResult::kCancelled: return 0;
      case CommandResult::kStay: break;
    }
  }
}

}  // namespace

}  // namespace lerv32

extern "C" int32_t LERV32_CALL rv_OdbcSettingsDialog(LERV32_HWND) {
  return lerv32::Guarded<int32_t>(-1, []() -> int32_t {
    const lerv32::settings_dialog::OpenDialogLock one_at_a_time;
    if (!one_at_a_time.Held()) return -1;
    const lerv32::TerminalScreen screen;
    if (!screen.Ready() || !lerv32::FormFits()) return -1;
    return lerv32::RunForm(screen);
  });
}
