#include "frame/atomic_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <exception>
#include <random>
#include <system_error>

#include "frame/file_beside.h"
#include "frame/in_place_copy.h"
#include "include/lebase32.h"
#include "platform/win_api.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace lerv32 {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinks = 40;

// Writes content to the new file, gives it the target's permissions once
// whole, syncs and closes it.
bool WriteAll(const FileBeside& file, const std::string& target, const std::string& content) {
  bool ok = true;
  for (size_t at = 0; ok && at < content.size();) {
    const int32_t piece = static_cast<int32_t>(std::min<size_t>(content.size() - at, 1 << 20));
    ok = X_Write(file.handle, content.data() + at, piece) == piece;
    at += static_cast<size_t>(piece);
  }
  if (ok) KeepPermissionsOf(target, file);
#if !defined(_WIN32)
  ok = ok && fsync(file.handle) == 0;
#endif
  return X_Close(file.handle) == 0 && ok;
}

#if !defined(_WIN32)
// A folder that cannot be synced is no failure: the rename has happened.
void SyncFolderOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  static_cast<void>(fsync(fd));
  close(fd);
}
#endif

// Eight hex digits nobody can tell in advance, so that nobody can take the
// name first (a name taken all the same is passed over for another).
std::string UnguessablePart() {
  auto bits = static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  try {
    std::random_device device;
    bits ^= device();
  } catch (const std::exception&) {
    // No source of randomness at hand: the clock's ticks alone.
  }
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(bits));
  return digits;
}

}  // namespace

std::string FollowLinks(const std::string& path) {
  fs::path followed = path;
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(followed, error)) return followed.string();
    const fs::path next = fs::read_symlink(followed, error);
    if (error) return std::string();
    followed = next.is_absolute() ? next : followed.parent_path() / next;
  }
  return std::string();
}

std::string TemporaryNameBeside(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return folder + "lerv" + UniqName(0) + "_" + UnguessablePart() + ".tmp";
}

#if defined(_WIN32)
bool ReplaceFileWith(const std::string& temporary, const std::string& path) {
  return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
#else
bool ReplaceFileWith(const std::string& temporary, const std::string& path) {
  if (std::rename(temporary.c_str(), path.c_str()) != 0) return false;
  SyncFolderOf(path);
  return true;
}
#endif

TargetKind KindOfTarget(const std::string& target) {
#if defined(_WIN32)
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return TargetKind::kMissing;
  return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? TargetKind::kNotWritable : TargetKind::kSingle;
#else
  struct stat info {};
  if (stat(target.c_str(), &info) != 0) return TargetKind::kMissing;
  // No write permission for anybody is read-only for root too, as the
  // read-only attribute is on Windows.
  if (access(target.c_str(), W_OK) != 0 || (info.st_mode & 0222) == 0) return TargetKind::kNotWritable;
  return S_ISREG(info.st_mode) && info.st_nlink > 1 ? TargetKind::kShared : TargetKind::kSingle;
#endif
}

namespace {

// Logs why target was not written; false.
bool NotWritten(const std::string& target, const char* why) {
  leEventLogWrite(LEBASE32_LOG_ODBC, target.c_str(), (std::string("file not written: ") + why).c_str());
  return false;
}

bool IsPlainFile(const std::string& target) {
#if defined(_WIN32)
  const DWORD attributes = GetFileAttributesA(target.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
#else
  struct stat info {};
  return stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode);
#endif
}

// Puts the finished new file in the target's place: a rename, or for a file
// with further hard links a copy in place; true when the target holds it.
// keep_file: the new file is not to be removed (it was renamed into place,
// or is the one whole copy after a copy that failed part way).
bool PutInPlace(const FileBeside& file, const std::string& target, TargetKind kind, bool* keep_file) {
#if !defined(_WIN32)
  if (kind == TargetKind::kShared) {
    const InPlaceCopy copied = CopyReceivedFileOver(file.name, target, "definition");
    *keep_file = copied == InPlaceCopy::kDamaged;
    return copied == InPlaceCopy::kCopied;
  }
#else
  static_cast<void>(kind);
#endif
  *keep_file = ReplaceFileWith(file.name, target);
  return *keep_file;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& content) {
  if (path.empty()) return NotWritten(path, "no file named");
  const std::string target = FollowLinks(path);
  if (target.empty()) return NotWritten(path, "its links lead in a circle");
  const TargetKind kind = KindOfTarget(target);
  // As a write in place would fail: a read-only file is not replaced.
  if (kind == TargetKind::kNotWritable) return NotWritten(target, "it may not be written");
  // A folder, a device or a pipe would be replaced by a file.
  if (kind != TargetKind::kMissing && !IsPlainFile(target)) return NotWritten(target, "it is no plain file");
  const FileBeside file = MakeFileBeside(target);
  if (file.handle < 0) return NotWritten(target, "no new file can be made in its folder");
  bool keep_file = false;
  bool written = WriteAll(file, target, content);
  if (!written) {
    NotWritten(target, "the new file could not be written whole (is the disk full?)");
  } else if (!(written = PutInPlace(file, target, kind, &keep_file))) {
    NotWritten(target, "the new file could not take its place");
  }
  if (!keep_file) std::remove(file.name.c_str());
  return written;
}

}  // namespace lerv32
