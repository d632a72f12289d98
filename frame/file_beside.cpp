#include "frame/file_beside.h"

#include <sys/stat.h>

#include "include/lebase32.h"
#include "platform/win_api.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace lerv32 {
namespace {

// Names are unique to the process and the call; a few tries get past names
// that were taken on purpose.
constexpr int kNameTries = 16;

#if defined(_WIN32)
// CREATE_NEW fails for any name that is there, a link included. The handle
// of the support library is opened on the file only this call made.
int32_t CreateNew(const std::string& name) {
  const HANDLE made = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (made == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS ? -2 : -1;
  CloseHandle(made);
  return X_Open(name.c_str(), 2);
}
#else
// -2: the name is taken (a file, or a link followed by no one).
int32_t CreateNew(const std::string& name, mode_t mode) {
  for (;;) {
    const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) return fd;
    if (errno == EINTR) continue;
    return errno == EEXIST ? -2 : -1;
  }
}

// Only its owner reads the new file while it holds part of what replaces a
// file; one that makes a file not there yet gets the mode any new file gets.
mode_t CreateMode(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? 0600 : 0666;
}
#endif

}  // namespace

FileBeside MakeFileBeside(const std::string& path, const NameBeside& name_beside) {
#if !defined(_WIN32)
  const mode_t mode = CreateMode(path);
#endif
  for (int attempt = 0; attempt < kNameTries; ++attempt) {
    FileBeside file{name_beside(path), -1};
#if defined(_WIN32)
    file.handle = CreateNew(file.name);
#else
    file.handle = CreateNew(file.name, mode);
#endif
    if (file.handle >= 0) return file;
    if (file.handle != -2) break;
  }
  return FileBeside{};
}

#if defined(_WIN32)
void KeepPermissionsOf(const std::string& path, const FileBeside& file) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(file.name.c_str(), attributes);
}
#else
void KeepPermissionsOf(const std::string& path, const FileBeside& file) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) fchmod(file.handle, info.st_mode & 07777);
}
#endif

}  // namespace lerv32
