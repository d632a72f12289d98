// GetPrivateProfileStringA and GetPrivateProfileIntA over INI files.
#include <dirent.h>
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/profile.h"
#include "platform/win_api.h"

namespace {

// Larger files are not profiles: reading them gives nothing.
constexpr std::streamoff kMaxProfileBytes = 16 << 20;

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file as Windows would find it: backslashes are separators and the
// last name matches without regard to case when no file has it exactly.
// Relative names resolve against the working folder.
std::string ResolveProfilePath(const char* name) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  std::ifstream exact(path);
  if (exact) return path;
  const std::string folder = ParentOf(path);
  const std::string last = path.substr(path.rfind('/') + 1);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return path;
  while (const dirent* entry = readdir(dir.get())) {
    if (strcasecmp(entry->d_name, last.c_str()) == 0) return folder + "/" + entry->d_name;
  }
  return path;
}

bool ReadProfile(const char* name, std::string* text) {
  std::ifstream file(ResolveProfilePath(name), std::ios::binary | std::ios::ate);
  if (!file) return false;
  const std::streamoff size = file.tellg();
  if (size < 0 || size > kMaxProfileBytes) return false;
  file.seekg(0);
  text->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

std::optional<std::string> LookUp(const char* section, const char* key, const char* file_name) {
  std::string text;
  if (section == nullptr || key == nullptr || file_name == nullptr || !ReadProfile(file_name, &text)) {
    return std::nullopt;
  }
  return platform::FindProfileValue(text, section, key);
}

}  // namespace

DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* fallback, char* buffer,
                               DWORD size, const char* file_name) {
  if (buffer == nullptr || size == 0) return 0;
  std::string value;
  if (std::optional<std::string> found = LookUp(section, key, file_name)) {
    value = *found;
  } else if (fallback != nullptr) {
    value = fallback;
    while (!value.empty() && value.back() == ' ') value.pop_back();
  }
  const size_t copied = std::min<size_t>(value.size(), size - 1);
  std::memcpy(buffer, value.data(), copied);
  buffer[copied] = '\0';
  return static_cast<DWORD>(copied);
}

UINT GetPrivateProfileIntA(const char* section, const char* key, int fallback, const char* file_name) {
  const std::optional<std::string> found = LookUp(section, key, file_name);
  if (!found || found->empty()) return static_cast<UINT>(fallback);
  return static_cast<UINT>(platform::ProfileNumber(*found));
}
