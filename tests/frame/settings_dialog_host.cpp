// A host for the terminal dialog test: sets the five settings given on the
// command line (OemConvert, ExSQL_Enabled, ExSQL_Maximum, ExSQL_Append,
// Display_Errors), opens the dialog and prints its result and the settings;
// a signal handler the dialog did not give back is reported on standard error.
#include <signal.h>

#include <cstdio>
#include <cstdlib>

#include "frame/settings.h"
#include "include/lerv32.h"

int main(int argc, char** argv) {
  int32_t* const settings[] = {&lerv32::OemConvert, &lerv32::ExSQL_Enabled, &lerv32::ExSQL_Maximum,
                               &lerv32::ExSQL_Append, &lerv32::Display_Errors};
  for (int i = 1; i < argc && i <= 5; ++i) *settings[i - 1] = std::atoi(argv[i]);
  const int signals[] = {SIGINT, SIGTERM, SIGTSTP, SIGWINCH};
  struct sigaction before[4], after[4];
  for (int i = 0; i < 4; ++i) sigaction(signals[i], nullptr, &before[i]);
  const int32_t result = rv_OdbcSettingsDialog(nullptr);
  for (int i = 0; i < 4; ++i) {
    sigaction(signals[i], nullptr, &after[i]);
    if (after[i].sa_handler != before[i].sa_handler) std::fprintf(stderr, "handler of signal %d changed\n", signals[i]);
  }
  std::printf("result %d\nsettings", static_cast<int>(result));
  for (const int32_t* setting : settings) std::printf(" %d", static_cast<int>(*setting));
  std::printf("\n");
  return 0;
}
