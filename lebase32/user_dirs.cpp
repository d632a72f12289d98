#include "lebase32/user_dirs.h"

#include <cstdlib>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/types.h>
#endif

namespace lebase32 {
namespace {

struct Location {
  const char* override_var;  // names the file itself
  const char* base_var;      // the user's base directory of this kind
  const char* home_relative;  // its fallback below $HOME (not on Windows)
  const char* file_name;
};

#if defined(_WIN32)
constexpr char kSeparator = '\\';
constexpr char kFolderName[] = "LEBASE32";
constexpr Location kSettings{"LEBASE32_SETTINGS", "APPDATA", nullptr, "settings.conf"};
constexpr Location kEventLog{"LEBASE32_EVENTLOG", "LOCALAPPDATA", nullptr, "events.log"};
#else
constexpr char kSeparator = '/';
constexpr char kFolderName[] = "lebase32";
constexpr Location kSettings{"LEBASE32_SETTINGS", "XDG_CONFIG_HOME", ".config", "settings.conf"};
constexpr Location kEventLog{"LEBASE32_EVENTLOG", "XDG_STATE_HOME", ".local/state", "events.log"};
#endif

bool IsSeparator(char c) {
#if defined(_WIN32)
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

// Read on every call: the environment may change while the library is loaded.
std::string EnvValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string Join(std::string folder, const char* name) {
  if (!folder.empty() && !IsSeparator(folder.back())) folder += kSeparator;
  return folder + name;
}

bool IsFolder(const std::string& path) {
#if defined(_WIN32)
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
#else
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
#endif
}

bool MakeOneFolder(const std::string& path) {
#if defined(_WIN32)
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
#else
  // The user's private folders, as the base directory conventions ask.
  return mkdir(path.c_str(), 0700) == 0;
#endif
}

// The folder that holds path ("" when path has none), trailing separators
// ignored.
std::string ParentOf(const std::string& path) {
  std::string::size_type end = path.size();
  while (end > 1 && IsSeparator(path[end - 1])) --end;
  std::string::size_type cut = end;
  while (cut > 0 && !IsSeparator(path[cut - 1])) --cut;
  if (cut == 0) return std::string();
  while (cut > 1 && IsSeparator(path[cut - 1])) --cut;
  return path.substr(0, cut);
}

bool MakeFolders(const std::string& path, int depth_left) {
  if (path.empty() || IsFolder(path)) return !path.empty();
  if (depth_left <= 0) return false;
  const std::string parent = ParentOf(path);
  if (!parent.empty() && parent != path && !MakeFolders(parent, depth_left - 1)) return false;
  // Another process may have made it in the meantime.
  return MakeOneFolder(path) || IsFolder(path);
}

std::string DefaultFolder(const Location& location) {
  std::string base = EnvValue(location.base_var);
#if defined(_WIN32)
  if (base.empty()) return std::string();
#else
  // A relative base directory is to be ignored, as an unset one.
  if (base.empty() || base[0] != '/') {
    const std::string home = EnvValue("HOME");
    if (home.empty()) return std::string();
    base = Join(home, location.home_relative);
  }
#endif
  return Join(base, kFolderName);
}

std::string FilePath(const Location& location, FolderUse use) {
  std::string path = EnvValue(location.override_var);
  if (!path.empty()) return path;
  const std::string folder = DefaultFolder(location);
  if (folder.empty()) return std::string();
  constexpr int kMaxDepth = 256;
  if (use == FolderUse::kCreate && !MakeFolders(folder, kMaxDepth)) return std::string();
  return Join(folder, location.file_name);
}

}  // namespace

std::string SettingsFilePath(FolderUse use) { return FilePath(kSettings, use); }

std::string EventLogFilePath(FolderUse use) { return FilePath(kEventLog, use); }

}  // namespace lebase32
