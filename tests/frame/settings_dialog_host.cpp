// A host for the terminal dialog test: sets the five settings given on the
// command line (OemConvert, ExSQL_Enabled, ExSQL_Maximum, ExSQL_Append,
// Display_Errors), opens the dialog and prints its result and the settings;
// a signal handler the dialog did not give back is reported on standard error.
// LERV32_HOST_MODE changes how the dialog is opened:
//   twice    one dialog after the other (a result line for each)
//   threads  from two threads at once (one line with both results)
//   curses   from a host that shows its own curses screen, which must still
//            work afterwards ("host screen usable" or "host screen lost")
#define NCURSES_WIDECHAR 1
#include <curses.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "frame/settings.h"
#include "include/lerv32.h"

int main(int argc, char** argv) {
  int32_t* const settings[] = {&lerv32::OemConvert, &lerv32::ExSQL_Enabled, &lerv32::ExSQL_Maximum,
                               &lerv32::ExSQL_Append, &lerv32::Display_Errors};
  for (int i = 1; i < argc && i <= 5; ++i) *settings[i - 1] = std::atoi(argv[i]);
  const char* mode = std::getenv("LERV32_HOST_MODE");
  mode = mode != nullptr ? mode : "";
  const int signals[] = {SIGINT, SIGTERM, SIGTSTP, SIGWINCH};
  struct sigaction before[4], after[4];
  for (int i = 0; i < 4; ++i) sigaction(signals[i], nullptr, &before[i]);
  if (std::strcmp(mode, "threads") == 0) {
    int32_t results[2] = {};
    std::thread first([&] { results[0] = rv_OdbcSettingsDialog(nullptr); });
    std::thread second([&] { results[1] = rv_OdbcSettingsDialog(nullptr); });
    first.join();
    second.join();
    std::printf("results %d %d\n", static_cast<int>(results[0]), static_cast<int>(results[1]));
  } else if (std::strcmp(mode, "curses") == 0) {
    // On the terminal, as the dialog's form: standard output is the test's file.
    std::FILE* tty = std::fopen("/dev/tty", "r+");
    if (tty == nullptr || newterm(nullptr, tty, tty) == nullptr) return 2;
    mvaddstr(0, 0, "host screen");
    refresh();
    const int32_t result = rv_OdbcSettingsDialog(nullptr);
    const bool usable = stdscr != nullptr && mvaddstr(1, 0, "host screen again") != ERR && refresh() != ERR;
    endwin();
    std::printf("result %d\nhost screen %s\n", static_cast<int>(result), usable ? "usable" : "lost");
  } else {
    const int opens = std::strcmp(mode, "twice") == 0 ? 2 : 1;
    for (int i = 0; i < opens; ++i) {
      const int32_t result = rv_OdbcSettingsDialog(nullptr);
      std::printf("result %d\n", static_cast<int>(result));
      std::fflush(stdout);
    }
  }
  for (int i = 0; i < 4; ++i) {
    sigaction(signals[i], nullptr, &after[i]);
    if (after[i].sa_handler != before[i].sa_handler) std::fprintf(stderr, "handler of signal %d changed\n", signals[i]);
  }
  std::printf("settings");
  for (const int32_t* setting : settings) std::printf(" %d", static_cast<int>(*setting));
  std::printf("\n");
  return 0;
}
