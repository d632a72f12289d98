#include "frame/atomic_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

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

bool WriteAll(const std::string& path, const std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  ok = std::fflush(file) == 0 && ok;
#if !defined(_WIN32)
  ok = ok && fsync(fileno(file)) == 0;
#endif
  return std::fclose(file) == 0 && ok;
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
  return folder + "lerv" + UniqName(0) + ".tmp";
}

#if defined(_WIN32)
void KeepPermissionsOf(const std::string& path, const std::string& temporary) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(temporary.c_str(), attributes);
}

bool ReplaceFileWith(const std::string& temporary, const std::string& path) {
  return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
#else
void KeepPermissionsOf(const std::string& path, const std::string& temporary) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) chmod(temporary.c_str(), info.st_mode & 07777);
}

bool ReplaceFileWith(const std::string& temporary, const std::string& path) {
  if (std::rename(temporary.c_str(), path.c_str()) != 0) return false;
  SyncFolderOf(path);
  return true;
}
#endif

bool WriteFileAtomically(const std::string& path, const std::string& content) {
  const std::string target = FollowLinks(path);
  if (target.empty()) return false;
  const std::string temporary = TemporaryNameBeside(target);
  if (WriteAll(temporary, content)) {
    KeepPermissionsOf(target, temporary);
    if (ReplaceFileWith(temporary, target)) return true;
  }
  std::remove(temporary.c_str());
  return false;
}

}  // namespace lerv32
