// The settings store: a text file of key=value lines that people edit too.
// Lines the store cannot use are kept as they are when it is rewritten.

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "lebase32.h"
#include "lebase32/user_dirs.h"

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <sys/stat.h>
#include <sys/types.h>
#else
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using std::string_view;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsValidKey(string_view key) {
  if (key.empty() || IsBlank(key.front()) || IsBlank(key.back())) return false;
  return key.find_first_of(string_view("=\r\n\0", 4)) == string_view::npos;
}

bool IsValidValue(string_view value) {
  return value.find_first_of(string_view("\r\n\0", 3)) == string_view::npos;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(string_view a, string_view b) {
  if (a.size() != b.size()) return false;
  for (string_view::size_type i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// One line of the store: raw with its line end, body without it.
struct Line {
  string_view raw;
  string_view body;
};

// Steps through content line by line; LF and CR LF both end a line.
class LineReader {
 public:
  explicit LineReader(string_view content) : content_(content) {}

  bool Next(Line& line) {
    if (pos_ >= content_.size()) return false;
    const string_view::size_type lf = content_.find('\n', pos_);
    const string_view::size_type end = lf == string_view::npos ? content_.size() : lf + 1;
    line.raw = content_.substr(pos_, end - pos_);
    line.body = line.raw;
    if (!line.body.empty() && line.body.back() == '\n') line.body.remove_suffix(1);
    if (!line.body.empty() && line.body.back() == '\r') line.body.remove_suffix(1);
    pos_ = end;
    return true;
  }

 private:
  string_view content_;
  string_view::size_type pos_ = 0;
};

// Splits a usable line into key and value; false for a line to be skipped.
bool ParseLine(string_view body, string_view& key, string_view& value) {
  const string_view::size_type eq = body.find('=');
  if (eq == string_view::npos) return false;
  key = body.substr(0, eq);
  value = body.substr(eq + 1);
  return IsValidKey(key) && IsValidValue(value);
}

enum class ReadResult { kRead, kMissing, kFailed };

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Devices and folders are no store (a device may never end).
bool IsRegularFile(std::FILE* file) {
#if defined(_WIN32)
  struct _stat info {};
  return _fstat(_fileno(file), &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG;
#else
  struct stat info {};
  return fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
#endif
}

// Opens the store for reading. On Windows a writer replacing the store makes
// the open fail with a sharing violation for a moment: tried again for up to
// a second, as the writer waits for readers.
std::FILE* OpenForReading(const std::string& path) {
#if defined(_WIN32)
  for (int attempt = 0;; ++attempt) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file != nullptr || attempt >= 200 || GetLastError() != ERROR_SHARING_VIOLATION) return file;
    Sleep(5);
  }
#else
  errno = 0;
  return std::fopen(path.c_str(), "rb");
#endif
}

ReadResult ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  std::unique_ptr<std::FILE, FileCloser> file(OpenForReading(path));
  if (!file) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
  if (!IsRegularFile(file.get())) return ReadResult::kFailed;
  constexpr std::size_t kChunk = 64 * 1024;
  std::unique_ptr<char[]> chunk(new char[kChunk]);
  std::size_t got = 0;
  while ((got = std::fread(chunk.get(), 1, kChunk, file.get())) > 0) content.append(chunk.get(), got);
  return std::ferror(file.get()) ? ReadResult::kFailed : ReadResult::kRead;
}

// content with key set to value: the first line of key replaced, its later
// duplicates dropped, or a new line appended. Every other line stays as it is.
std::string WithValue(string_view content, string_view key, string_view value) {
  std::string entry;
  entry.reserve(key.size() + value.size() + 2);
  entry.append(key).append(1, '=').append(value).append(1, '\n');

  std::string result;
  result.reserve(content.size() + entry.size() + 1);
  bool stored = false;
  LineReader reader(content);
  Line line;
  while (reader.Next(line)) {
    string_view line_key;
    string_view line_value;
    if (ParseLine(line.body, line_key, line_value) && SameKey(line_key, key)) {
      if (!stored) result += entry;
      stored = true;
    } else {
      result.append(line.raw);
    }
  }
  if (!stored) {
    if (!result.empty() && result.back() != '\n') result += '\n';
    result += entry;
  }
  return result;
}

// ---- Native files, so that the new content can be flushed to the disk.

#if defined(_WIN32)
using NativeFile = HANDLE;
const NativeFile kNoFile = INVALID_HANDLE_VALUE;

unsigned long ProcessId() { return GetCurrentProcessId(); }

NativeFile CreateNewFile(const std::string& path, const std::string& /*like*/) {
  return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

bool WriteAll(NativeFile file, string_view data) {
  constexpr std::size_t kMaxWrite = 1u << 30;
  while (!data.empty()) {
    const DWORD want = static_cast<DWORD>(data.size() < kMaxWrite ? data.size() : kMaxWrite);
    DWORD written = 0;
    if (!WriteFile(file, data.data(), want, &written, nullptr) || written == 0) return false;
    data.remove_prefix(written);
  }
  return true;
}

bool SyncFile(NativeFile file) { return FlushFileBuffers(file) != 0; }
bool CloseFile(NativeFile file) { return CloseHandle(file) != 0; }
void RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

// A reader holding the store open for a moment blocks the replace on
// Windows: try again for up to a second before the write counts as failed.
bool MoveOver(const std::string& from, const std::string& to) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
    Sleep(5);
  }
  return false;
}

std::string ResolveLinks(const std::string& path) { return path; }

// A lock file another user made is locked through a read-only handle.
NativeFile OpenLockFile(const std::string& path) {
  constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const NativeFile file =
      CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShare, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != kNoFile || GetLastError() != ERROR_ACCESS_DENIED) return file;
  return CreateFileA(path.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// What changes with every completed write of the store: its last write time.
unsigned long long StoreStamp(const std::string& store) {
  WIN32_FILE_ATTRIBUTE_DATA data {};
  if (!GetFileAttributesExA(store.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

enum class LockTry { kLocked, kBusy, kUnsupported };

LockTry TryLock(NativeFile file) {
  OVERLAPPED at {};
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0) return LockTry::kLocked;
  return GetLastError() == ERROR_LOCK_VIOLATION ? LockTry::kBusy : LockTry::kUnsupported;
}

void Unlock(NativeFile file) {
  OVERLAPPED at {};
  UnlockFileEx(file, 0, 1, 0, &at);
}
#else
using NativeFile = int;
constexpr NativeFile kNoFile = -1;

unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }

// The new file takes the permissions of the one it replaces.
NativeFile CreateNewFile(const std::string& path, const std::string& like) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  struct stat info {};
  if (fd >= 0 && stat(like.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    static_cast<void>(fchmod(fd, info.st_mode & 07777));
  }
  return fd;
}

bool WriteAll(NativeFile fd, string_view data) {
  while (!data.empty()) {
    const ssize_t written = write(fd, data.data(), data.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool SyncFile(NativeFile fd) { return fsync(fd) == 0; }
bool CloseFile(NativeFile fd) { return close(fd) == 0; }
void RemoveFile(const std::string& path) { unlink(path.c_str()); }

// Makes the rename durable too; a folder that cannot be synced is no failure.
void SyncFolderOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  static_cast<void>(fsync(fd));
  close(fd);
}

bool MoveOver(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) return false;
  SyncFolderOf(to);
  return true;
}

// A store that is a symbolic link (kept with other dot files, say) stays one:
// the file it points to is replaced instead. Empty for a loop of links.
std::string ResolveLinks(std::string path) {
  constexpr int kMaxLinks = 40;
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1, '\0');
    const ssize_t length = readlink(path.c_str(), &target[0], target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return std::string();
    target.resize(static_cast<std::size_t>(length));
    const std::string::size_type slash = path.rfind('/');
    path = target[0] == '/' || slash == std::string::npos ? target : path.substr(0, slash + 1) + target;
  }
  return std::string();
}

// A lock file another user made (and the umask left read-only) is locked
// through a read-only descriptor: flock needs no write access.
NativeFile OpenLockFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  return fd >= 0 || errno != EACCES ? fd : open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

// What changes with every completed write of the store: the file (each
// write renames a new one over it) and its time of change.
unsigned long long StoreStamp(const std::string& store) {
  struct stat info {};
  if (stat(store.c_str(), &info) != 0) return 0;
  return static_cast<unsigned long long>(info.st_ino) * 1000003u ^ static_cast<unsigned long long>(info.st_mtim.tv_sec) * 1000000000u ^
         static_cast<unsigned long long>(info.st_mtim.tv_nsec);
}
enum class LockTry { kLocked, kBusy, kUnsupported };

// A file system without locks (NFS without its lock service: ENOLCK) is
// written as before there were locks, rather than never.
LockTry TryLock(NativeFile fd) {
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) return LockTry::kLocked;
  return errno == EWOULDBLOCK || errno == EINTR ? LockTry::kBusy : LockTry::kUnsupported;
}
void Unlock(NativeFile fd) { flock(fd, LOCK_UN); }
#endif

// Held for one read-modify-write of the store, across processes: a lock on
// a file beside the store, which stays there so that all lock the same file.
// Not held when no other writer finished within kLockWait: while others
// keep writing, this one keeps waiting (polling is not fair).
class StoreLock {
 public:
  explicit StoreLock(const std::string& store) : file_(OpenLockFile(store + ".lock")) {
    constexpr auto kLockWait = std::chrono::seconds(5);
    auto give_up = std::chrono::steady_clock::now() + kLockWait;
    unsigned long long stamp = StoreStamp(store);
    while (file_ != kNoFile) {
      const LockTry tried = TryLock(file_);
      if (tried != LockTry::kBusy) {
        locked_ = tried == LockTry::kLocked;
        held_ = true;
        break;
      }
      const auto now = std::chrono::steady_clock::now();
      const unsigned long long seen = StoreStamp(store);
      if (seen != stamp) {
        stamp = seen;
        give_up = now + kLockWait;
      } else if (now >= give_up) {
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;
  ~StoreLock() {
    if (locked_) Unlock(file_);
    if (file_ != kNoFile) CloseFile(file_);
  }

  bool Held() const { return held_; }

 private:
  NativeFile file_;
  bool held_ = false;    // the store may be written
  bool locked_ = false;  // and is locked (not where locks are unsupported)
};

// A new file beside the store that is removed again unless it replaced it.
class TempFile {
 public:
  explicit TempFile(const std::string& target) : target_(target) {
    static std::atomic<unsigned long> counter{0};
    path_ = target + "." + std::to_string(ProcessId()) + "." + std::to_string(++counter) + ".tmp";
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (file_ != kNoFile) CloseFile(file_);
    if (created_ && !moved_) RemoveFile(path_);
  }

  bool Write(string_view content) {
    file_ = CreateNewFile(path_, target_);
    if (file_ == kNoFile) return false;
    created_ = true;
    if (!WriteAll(file_, content) || !SyncFile(file_)) return false;
    const bool closed = CloseFile(file_);
    file_ = kNoFile;
    return closed;
  }

  bool ReplaceTarget() {
    moved_ = MoveOver(path_, target_);
    return moved_;
  }

 private:
  std::string target_;
  std::string path_;
  NativeFile file_ = kNoFile;
  bool created_ = false;
  bool moved_ = false;
};

// One rewrite at a time in this process, so that no thread loses another's value.
std::mutex& StoreMutex() {
  static std::mutex mutex;
  return mutex;
}

int32_t SetValue(string_view key, string_view value) {
  if (!IsValidKey(key) || !IsValidValue(value)) return 0;
  const std::string named = lebase32::SettingsFilePath(lebase32::FolderUse::kCreate);
  if (named.empty()) return 0;
  std::lock_guard<std::mutex> lock(StoreMutex());
  const std::string path = ResolveLinks(named);
  if (path.empty()) return 0;
  const StoreLock store_lock(path);
  if (!store_lock.Held()) return 0;
  std::string content;
  // A store that exists but cannot be read must not be overwritten.
  if (ReadWholeFile(path, content) == ReadResult::kFailed) return 0;
  TempFile temp(path);
  if (!temp.Write(WithValue(content, key, value))) return 0;
  return temp.ReplaceTarget() ? 1 : 0;
}

// False when the store has no usable line of key.
bool GetValue(string_view key, std::string& value) {
  if (!IsValidKey(key)) return false;
  const std::string path = lebase32::SettingsFilePath(lebase32::FolderUse::kLookUp);
  std::string content;
  if (path.empty() || ReadWholeFile(path, content) != ReadResult::kRead) return false;
  LineReader reader(content);
  Line line;
  while (reader.Next(line)) {
    string_view line_key;
    string_view line_value;
    if (ParseLine(line.body, line_key, line_value) && SameKey(line_key, key)) {
      value.assign(line_value);
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" LEBASE32_API int32_t LEBASE32_CALL uGetHwpKeyString(const char* key, char* buffer,
                                                                  int32_t size) {
  if (buffer == nullptr || size < 1) return 0;
  buffer[0] = '\0';
  if (key == nullptr) return 0;
  try {
    std::string value;
    if (!GetValue(key, value)) return 0;
    const std::size_t length = value.size() < static_cast<std::size_t>(size - 1)
                                   ? value.size()
                                   : static_cast<std::size_t>(size - 1);
    std::memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
    return 1;
  } catch (...) {
    buffer[0] = '\0';
    return 0;
  }
}

extern "C" LEBASE32_API int32_t LEBASE32_CALL uSetHwpKeyString(const char* key, const char* text) {
  if (key == nullptr) return 0;
  try {
    return SetValue(key, text != nullptr ? text : "");
  } catch (...) {
    return 0;
  }
}
