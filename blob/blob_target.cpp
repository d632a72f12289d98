#include "blob/blob_target.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "frame/atomic_file.h"
#include "include/lebase32.h"

#if !defined(_WIN32)
#include <climits>
#include <unistd.h>
#endif

namespace lerv32 {
namespace {

namespace fs = std::filesystem;

// The file a link names, so that the link stays; the name itself otherwise.
std::string ResolvedTarget(const char* target) {
#if !defined(_WIN32)
  char resolved[PATH_MAX];
  struct stat info {};
  if (lstat(target, &info) == 0 && S_ISLNK(info.st_mode) && realpath(target, resolved) != nullptr) return resolved;
#endif
  return target;
}

// A name in the target's folder whose length does not depend on the
// target's own.
std::string TemporaryName(const std::string& target) {
  const size_t slash = target.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  return folder + "lerv" + UniqName(0) + ".tmp";
}

bool IsReadOnly(const std::string& target) {
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  if (error || !fs::exists(status)) return false;
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (status.permissions() & write) == fs::perms::none;
}

}  // namespace

BlobTargetFile::BlobTargetFile(const char* target) : target_(ResolvedTarget(target)) {
  if (IsReadOnly(target_)) return;
  temporary_ = TemporaryName(target_);
  file_ = SupportFile(X_Creat(temporary_.c_str()));
}

BlobTargetFile::~BlobTargetFile() {
  file_.Close();
  if (!committed_ && !temporary_.empty()) std::remove(temporary_.c_str());
}

bool BlobTargetFile::Commit() {
  if (!file_.Close()) return false;
#if !defined(_WIN32)
  struct stat info {};
  if (stat(target_.c_str(), &info) == 0) chmod(temporary_.c_str(), info.st_mode & 07777);
#endif
  committed_ = ReplaceFileWith(temporary_, target_);
  return committed_;
}

}  // namespace lerv32
