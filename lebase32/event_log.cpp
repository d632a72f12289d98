// The event log: one line per entry, appended by any number of processes.

#include <cstdio>
#include <string>
#include <string_view>

#include "lebase32.h"
#include "lebase32/user_dirs.h"

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

struct UtcTime {
  int year, month, day, hour, minute, second, millisecond;
};

#if defined(_WIN32)
bool CurrentUtcTime(UtcTime& now) {
  SYSTEMTIME time{};
  GetSystemTime(&time);
  now = UtcTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond,
                time.wMilliseconds};
  return true;
}

// Appending alone is not atomic everywhere (network drives, emulators), so
// writers also take turns on a lock of one byte far past any real end of
// the log; the lock does not block readers of the entries.
class AppendLock {
 public:
  explicit AppendLock(HANDLE file) : file_(file) {
    where_.Offset = 0xfffffffeu;
    where_.OffsetHigh = 0x7fffffffu;
    locked_ = LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &where_) != 0;
  }
  AppendLock(const AppendLock&) = delete;
  AppendLock& operator=(const AppendLock&) = delete;
  ~AppendLock() {
    if (locked_) UnlockFileEx(file_, 0, 1, 0, &where_);
  }

 private:
  HANDLE file_;
  OVERLAPPED where_{};
  bool locked_ = false;
};

bool WriteLocked(HANDLE file, std::string_view line) {
  if (line.size() > 0x7fffffffu) return false;
  AppendLock lock(file);
  DWORD written = 0;
  return WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

// Opened for appending only, every write lands at the end as one piece.
bool AppendWhole(const std::string& path, std::string_view line) {
  const HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = WriteLocked(file, line);
  const bool closed = CloseHandle(file) != 0;
  return ok && closed;
}
#else
bool CurrentUtcTime(UtcTime& now) {
  timespec stamp{};
  std::tm parts{};
  if (clock_gettime(CLOCK_REALTIME, &stamp) != 0 || gmtime_r(&stamp.tv_sec, &parts) == nullptr) {
    return false;
  }
  now = UtcTime{parts.tm_year + 1900, parts.tm_mon + 1,  parts.tm_mday,
                parts.tm_hour,        parts.tm_min,      parts.tm_sec,
                static_cast<int>(stamp.tv_nsec / 1000000)};
  return true;
}

// O_APPEND and a single write keep the entries of concurrent processes apart.
bool AppendWhole(const std::string& path, std::string_view line) {
  int fd = -1;
  do {
    fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  ssize_t written = -1;
  do {
    written = write(fd, line.data(), line.size());
  } while (written < 0 && errno == EINTR);
  const bool closed = close(fd) == 0;
  return written >= 0 && static_cast<std::size_t>(written) == line.size() && closed;
}
#endif

// Backslash, line breaks and tabs escaped, so that an entry stays one line
// and its fields stay apart.
void AppendEscaped(std::string& line, const char* text) {
  if (text == nullptr) return;
  for (const char* c = text; *c != '\0'; ++c) {
    switch (*c) {
      case '\\': line += "\\\\"; break;
      case '\r': line += "\\r"; break;
      case '\n': line += "\\n"; break;
      case '\t': line += "\\t"; break;
      default: line += *c; break;
    }
  }
}

bool FormatEntry(int32_t level, const char* source, const char* text, std::string& line) {
  UtcTime now{};
  if (!CurrentUtcTime(now)) return false;
  char head[64];
  const int length = std::snprintf(head, sizeof head, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ\t%ld\t",
                                   now.year, now.month, now.day, now.hour, now.minute, now.second,
                                   now.millisecond, static_cast<long>(level));
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof head) return false;
  line.assign(head, static_cast<std::size_t>(length));
  AppendEscaped(line, source);
  line += '\t';
  AppendEscaped(line, text);
  line += '\n';
  return true;
}

}  // namespace

extern "C" LEBASE32_API int32_t LEBASE32_CALL leEventLogWrite(int32_t level, const char* source,
                                                                const char* text) {
  try {
    std::string line;
    if (!FormatEntry(level, source, text, line)) return 0;
    const std::string path = lebase32::EventLogFilePath(lebase32::FolderUse::kCreate);
    if (path.empty()) return 0;
    return AppendWhole(path, line) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}
