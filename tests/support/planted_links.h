// Symbolic links somebody else put beside a target, under the names a file
// beside it would get were they made of the process id, the count of names
// made and the time alone. Writing through one of them writes the file it
// names instead of a new file.
#ifndef LERV32_TESTS_SUPPORT_PLANTED_LINKS_H
#define LERV32_TESTS_SUPPORT_PLANTED_LINKS_H

#if !defined(_WIN32)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "include/lebase32.h"

namespace testenv {

// Plants links to victim in folder for the next names of this process
// (within a few seconds); returns how many it planted.
inline int PlantLinksUnderPredictableNames(const std::string& folder, const std::string& victim) {
  // "L<pid>_<count><two digits>_<seconds>": the count of the name asked now.
  const std::string probe = UniqName(0);
  const size_t first = probe.find('_'), second = probe.find('_', first + 1);
  const unsigned now_count =
      static_cast<unsigned>(std::strtoul(probe.substr(first + 1, second - first - 3).c_str(), nullptr, 16));
  const long now = static_cast<long>(std::time(nullptr));
  int planted = 0;
  for (unsigned count = now_count + 1; count <= now_count + 16; ++count) {
    for (long seconds = now - 1; seconds <= now + 3; ++seconds) {
      char name[64];
      std::snprintf(name, sizeof name, "/lervL%X_%X%02X_%lX.tmp", static_cast<unsigned>(getpid()), count, 0u, seconds);
      if (symlink(victim.c_str(), (folder + name).c_str()) == 0) ++planted;
    }
  }
  return planted;
}

}  // namespace testenv

#endif
#endif  // LERV32_TESTS_SUPPORT_PLANTED_LINKS_H
