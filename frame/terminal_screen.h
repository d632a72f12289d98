// A curses screen on the process's controlling terminal (/dev/tty), so that
// the host's standard input and output stay untouched. Everything it takes
// (the terminal, its modes, the curses screen, the character locale of the
// thread) is given back by the destructor.
#ifndef LERV32_FRAME_TERMINAL_SCREEN_H
#define LERV32_FRAME_TERMINAL_SCREEN_H

#include <cstdio>
#include <locale.h>
#include <signal.h>
#include <memory>
#include <string>

struct screen;  // curses' SCREEN

namespace lerv32 {

// The terminal's locale for this thread only: the host's locale stays.
class ThreadLocale {
 public:
  ThreadLocale();
  ~ThreadLocale();
  ThreadLocale(const ThreadLocale&) = delete;
  ThreadLocale& operator=(const ThreadLocale&) = delete;
  bool Unicode() const { return unicode_; }

 private:
  locale_t locale_ = nullptr;
  locale_t previous_ = nullptr;
  bool unicode_ = false;
};

// The host's handlers of the signals curses takes over (interrupt, end,
// stop, window size), given back by the destructor.
class SavedSignalHandlers {
 public:
  SavedSignalHandlers();
  ~SavedSignalHandlers();
  SavedSignalHandlers(const SavedSignalHandlers&) = delete;
  SavedSignalHandlers& operator=(const SavedSignalHandlers&) = delete;

 private:
  static const int kSignals[4];
  struct sigaction saved_[4];
};

class TerminalScreen {
 public:
  // Opens the controlling terminal and starts curses on it; Ready() is false
  // when there is no terminal or curses does not know it.
  TerminalScreen();
  ~TerminalScreen();
  TerminalScreen(const TerminalScreen&) = delete;
  TerminalScreen& operator=(const TerminalScreen&) = delete;

  // Not ready: no terminal, one curses does not know or that cannot place
  // the cursor, or a host that shows a curses screen of its own.
  bool Ready() const { return screen_ != nullptr; }
  // Windows-1252 text as the terminal can show it.
  std::wstring Text(const char* ansi) const;

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> tty_;
  ThreadLocale locale_;
  SavedSignalHandlers signal_handlers_;
  void Close();

  ::screen* screen_ = nullptr;
  int escape_delay_ = 0;
};

}  // namespace lerv32

#endif  // LERV32_FRAME_TERMINAL_SCREEN_H
