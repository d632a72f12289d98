// Where the settings store and the event log live by default.
#ifndef LEBASE32_USER_DIRS_H
#define LEBASE32_USER_DIRS_H

#include <string>

namespace lebase32 {

// Whether the default folder is to be created when missing. A path named by
// environment variable is always used as given.
enum class FolderUse { kLookUp, kCreate };

// The file named by LEBASE32_SETTINGS, else settings.conf in the lebase32
// folder of the user's configuration directory. Empty when no path can be made
// out or (with kCreate) the default folder cannot be created.
std::string SettingsFilePath(FolderUse use);

// The file named by LEBASE32_EVENTLOG, else events.log in the lebase32 folder
// of the user's state directory; empty as above.
std::string EventLogFilePath(FolderUse use);

}  // namespace lebase32

#endif  // LEBASE32_USER_DIRS_H
