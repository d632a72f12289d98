// Files through the Windows file API: a handle is the descriptor plus one,
// so that no valid handle is null or INVALID_HANDLE_VALUE.
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win_api.h"

static_assert(sizeof(off_t) == 8, "file positions beyond 4 GiB");

namespace {

int Descriptor(HANDLE handle) {
  const auto value = reinterpret_cast<intptr_t>(handle);
  return value > 0 ? static_cast<int>(value - 1) : -1;
}

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd) + 1); }

int OpenFlags(DWORD access, DWORD disposition) {
  int flags = O_CLOEXEC;
  const bool read = (access & GENERIC_READ) != 0, write = (access & GENERIC_WRITE) != 0;
  flags |= read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
  switch (disposition) {
    case CREATE_NEW: return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
    case OPEN_ALWAYS: return flags | O_CREAT;
    case OPEN_EXISTING: return flags;
    default: return -1;
  }
}

}  // namespace

DWORD GetTempPathA(DWORD size, char* buffer) {
  const char* dir = std::getenv("TMPDIR");
  std::string path = dir != nullptr && *dir != '\0' ? dir : "/tmp";
  if (path.back() != '/') path += '/';
  if (buffer == nullptr || path.size() + 1 > size) return static_cast<DWORD>(path.size() + 1);
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

HANDLE CreateFileA(const char* name, DWORD access, DWORD, void*, DWORD disposition, DWORD flags, HANDLE) {
  const int open_flags = OpenFlags(access, disposition);
  if (name == nullptr || open_flags < 0) return INVALID_HANDLE_VALUE;
  int fd = -1;
  do {
    fd = open(name, open_flags, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return INVALID_HANDLE_VALUE;
  if ((flags & FILE_FLAG_DELETE_ON_CLOSE) != 0 && unlink(name) != 0) {
    close(fd);
    return INVALID_HANDLE_VALUE;
  }
  return HandleOf(fd);
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void* overlapped) {
  if (read != nullptr) *read = 0;
  const int fd = Descriptor(file);
  if (fd < 0 || overlapped != nullptr || (buffer == nullptr && count > 0)) return FALSE;
  DWORD total = 0;
  while (total < count) {
    const ssize_t n = ::read(fd, static_cast<char*>(buffer) + total, count - total);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FALSE;
    if (n == 0) break;
    total += static_cast<DWORD>(n);
    if (read != nullptr) *read = total;
  }
  return TRUE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* written, void* overlapped) {
  if (written != nullptr) *written = 0;
  const int fd = Descriptor(file);
  if (fd < 0 || overlapped != nullptr || (buffer == nullptr && count > 0)) return FALSE;
  DWORD total = 0;
  while (total < count) {
    const ssize_t n = ::write(fd, static_cast<const char*>(buffer) + total, count - total);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return FALSE;
    total += static_cast<DWORD>(n);
    if (written != nullptr) *written = total;
  }
  return TRUE;
}

BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, LARGE_INTEGER* position, DWORD method) {
  const int fd = Descriptor(file);
  const int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
  if (fd < 0 || whence < 0) return FALSE;
  const off_t at = lseek(fd, static_cast<off_t>(distance.QuadPart), whence);
  if (at < 0) return FALSE;
  if (position != nullptr) position->QuadPart = at;
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  const int fd = Descriptor(handle);
  return fd >= 0 && close(fd) == 0 ? TRUE : FALSE;
}
