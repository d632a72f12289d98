// Plain file I/O over the operating system's file descriptors.
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "include/lebase32.h"

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <io.h>
#define LB_OPEN _open
#define LB_READ _read
#define LB_WRITE _write
#define LB_LSEEK _lseeki64  // 64-bit: positions past 4 GiB must not wrap
#define LB_CLOSE _close
constexpr int kBinary = _O_BINARY | _O_NOINHERIT;
constexpr int kCreateMode = _S_IREAD | _S_IWRITE;
#else
#include <unistd.h>
#define LB_OPEN open
#define LB_READ read
#define LB_WRITE write
#define LB_LSEEK lseek
#define LB_CLOSE close
constexpr int kBinary = O_CLOEXEC;
constexpr int kCreateMode = 0666;
#endif

namespace {

// Reads up to count bytes, retrying on interruption.
int32_t ReadSome(int32_t handle, char* buffer, int32_t count) {
  for (;;) {
    const auto n = LB_READ(handle, buffer, static_cast<unsigned>(count));
    if (n >= 0) return static_cast<int32_t>(n);
#if !defined(_WIN32)
    if (errno == EINTR) continue;
#endif
    return -1;
  }
}

// A folder opens for reading on POSIX systems, yet holds nothing to read:
// refused as Windows refuses it.
int RefuseFolder(int handle) {
#if !defined(_WIN32)
  struct stat info {};
  if (handle >= 0 && fstat(handle, &info) == 0 && S_ISDIR(info.st_mode)) {
    LB_CLOSE(handle);
    errno = EISDIR;
    return -1;
  }
#endif
  return handle;
}

// Whether what follows a line end can be given back by seeking. The Windows
// C library seeks a pipe without failing, to a position that means nothing:
// there only disk files count.
bool CanSeek(int32_t handle) {
#if defined(_WIN32)
  const HANDLE os = reinterpret_cast<HANDLE>(_get_osfhandle(handle));
  return os != INVALID_HANDLE_VALUE && GetFileType(os) == FILE_TYPE_DISK && LB_LSEEK(handle, 0, SEEK_CUR) >= 0;
#else
  return LB_LSEEK(handle, 0, SEEK_CUR) >= 0;
#endif
}

}  // namespace

extern "C" {

int32_t LEBASE32_CALL X_Open(const char* path, int32_t mode) {
  static constexpr int kAccess[] = {O_RDONLY, O_WRONLY, O_RDWR};
  if (path == nullptr || mode < 0 || mode > 2) return -1;
  return RefuseFolder(LB_OPEN(path, kAccess[mode] | kBinary));
}

int32_t LEBASE32_CALL X_Creat(const char* path) {
  if (path == nullptr) return -1;
  return LB_OPEN(path, O_RDWR | O_CREAT | O_TRUNC | kBinary, kCreateMode);
}

int32_t LEBASE32_CALL X_Read(int32_t handle, void* buffer, int32_t count) {
  if (buffer == nullptr || count < 0) return -1;
  return ReadSome(handle, static_cast<char*>(buffer), count);
}

int32_t LEBASE32_CALL X_Write(int32_t handle, const void* buffer, int32_t count) {
  if (buffer == nullptr || count < 0) return -1;
  const char* bytes = static_cast<const char*>(buffer);
  int32_t written = 0;
  while (written < count) {
    const auto n = LB_WRITE(handle, bytes + written, static_cast<unsigned>(count - written));
    if (n < 0) {
#if !defined(_WIN32)
      if (errno == EINTR) continue;
#endif
      return written > 0 ? written : -1;
    }
    written += static_cast<int32_t>(n);
  }
  return written;
}

int32_t LEBASE32_CALL X_Seek(int32_t handle, int32_t offset, int32_t origin) {
  static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (origin < 0 || origin > 2) return -1;
  const auto position = LB_LSEEK(handle, offset, kWhence[origin]);
  return position < 0 || position > INT32_MAX ? -1 : static_cast<int32_t>(position);
}

int32_t LEBASE32_CALL X_Readln(int32_t handle, char* buffer, int32_t size) {
  if (buffer == nullptr || size < 1) return 0;
  const std::size_t capacity = static_cast<std::size_t>(size) - 1;
  std::size_t stored = 0;
  bool read_any = false;
  char chunk[512];
  // What follows the line end is given back by seeking; a pipe cannot seek,
  // so there nothing past the line end is read.
  const int32_t chunk_size = CanSeek(handle) ? static_cast<int32_t>(sizeof chunk) : 1;
  for (;;) {
    const int32_t n = ReadSome(handle, chunk, chunk_size);
    if (n <= 0) break;  // end of file or error: what was read is the last line
    read_any = true;
    const char* end = static_cast<const char*>(std::memchr(chunk, '\n', static_cast<std::size_t>(n)));
    const std::size_t line_bytes = end ? static_cast<std::size_t>(end - chunk) : static_cast<std::size_t>(n);
    const std::size_t take = std::min(line_bytes, capacity - stored);
    std::memcpy(buffer + stored, chunk, take);
    stored += take;
    if (end != nullptr) {
      // Give back what follows the line end, so the next read starts there.
      const auto rest = static_cast<int32_t>(n - static_cast<int32_t>(line_bytes) - 1);
      if (rest > 0) LB_LSEEK(handle, -rest, SEEK_CUR);
      break;
    }
  }
  if (stored > 0 && buffer[stored - 1] == '\r') --stored;
  buffer[stored] = '\0';
  return read_any ? 1 : 0;
}

int32_t LEBASE32_CALL X_Close(int32_t handle) { return LB_CLOSE(handle) == 0 ? 0 : -1; }

}  // extern "C"
