#include "frame/terminal_screen.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>
#include <term.h>
#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include <cstring>

#include "platform/win_api.h"

namespace lerv32 {

namespace {

std::FILE* OpenControllingTerminal() {
  const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  std::FILE* file = isatty(fd) ? fdopen(fd, "r+") : nullptr;
  if (file == nullptr) close(fd);
  return file;
}

// German letters spelled out where the terminal has no Unicode.
const wchar_t* Spelled(wchar_t letter) {
  switch (letter) {
    case L'\u00e4': return L"ae";
    case L'\u00f6': return L"oe";
    case L'\u00fc': return L"ue";
    case L'\u00c4': return L"Ae";
    case L'\u00d6': return L"Oe";
    case L'\u00dc': return L"Ue";
    case L'\u00df': return L"ss";
    default: return L"?";
  }
}

}  // namespace

ThreadLocale::ThreadLocale() {
  locale_ = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
  if (locale_ == nullptr) return;
  previous_ = uselocale(locale_);
  unicode_ = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

ThreadLocale::~ThreadLocale() {
  if (locale_ == nullptr) return;
  uselocale(previous_);
  freelocale(locale_);
}

const int SavedSignalHandlers::kSignals[4] = {SIGINT, SIGTERM, SIGTSTP, SIGWINCH};

SavedSignalHandlers::SavedSignalHandlers() {
  for (int i = 0; i < 4; ++i) sigaction(kSignals[i], nullptr, &saved_[i]);
}

SavedSignalHandlers::~SavedSignalHandlers() {
  for (int i = 0; i < 4; ++i) sigaction(kSignals[i], &saved_[i], nullptr);
}

TerminalScreen::TerminalScreen() : tty_(OpenControllingTerminal()) {
  // A host with a curses screen of its own would lose it to ours: curses
  // cannot make it current again.
  if (tty_ == nullptr || stdscr != nullptr) return;
  escape_delay_ = get_escdelay();
  screen_ = newterm(nullptr, tty_.get(), tty_.get());
  if (screen_ == nullptr) return;
  // A terminal that cannot place the cursor cannot show the form.
  const char* place_cursor = tigetstr(const_cast<char*>("cup"));
  if (place_cursor == nullptr || place_cursor == reinterpret_cast<char*>(-1)) {
    Close();
    return;
  }
  // Raw: Ctrl-C arrives as a key (Abbrechen) instead of ending the host.
  raw();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  set_escdelay(25);
}

TerminalScreen::~TerminalScreen() { Close(); }

void TerminalScreen::Close() {
  if (screen_ == nullptr) return;
  endwin();
  delscreen(screen_);
  screen_ = nullptr;
  set_escdelay(escape_delay_);
}

std::wstring TerminalScreen::Text(const char* ansi) const {
  std::wstring text;
  for (const char* c = ansi; *c != '\0'; ++c) {
    WCHAR wide = 0;
    if (MultiByteToWideChar(1252, 0, c, 1, &wide, 1) != 1) wide = L'?';
    if (wide < 0x80 || locale_.Unicode()) {
      text += static_cast<wchar_t>(wide);
    } else {
      text += Spelled(static_cast<wchar_t>(wide));
    }
  }
  return text;
}

}  // namespace lerv32
