#include "blob/blob_target.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "frame/atomic_file.h"
#include "include/lebase32.h"
#include "platform/win_api.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace lerv32 {
namespace {

namespace fs = std::filesystem;

// The file a chain of links names, so that the links stay; a link to a file
// not yet there names the file to make.
std::string FollowLinks(const char* target) {
  fs::path path = target;
  std::error_code error;
  for (int hops = 0; hops < 40 && fs::is_symlink(path, error); ++hops) {
    const fs::path next = fs::read_symlink(path, error);
    if (error) break;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path.string();
}

// A name in the target's folder whose length does not depend on the
// target's own.
std::string TemporaryName(const std::string& target) {
  const size_t slash = target.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  return folder + "lerv" + UniqName(0) + ".tmp";
}

}  // namespace

BlobTargetFile::BlobTargetFile(const char* target) : target_(FollowLinks(target)) {
#if defined(_WIN32)
  attributes_ = GetFileAttributesA(target_.c_str());
  const bool exists = attributes_ != INVALID_FILE_ATTRIBUTES;
  // A read-only file stays as it is, as it would when written in place.
  if (exists && (attributes_ & FILE_ATTRIBUTE_READONLY) != 0) return;
#else
  struct stat info {};
  if (stat(target_.c_str(), &info) == 0) {
    if (access(target_.c_str(), W_OK) != 0) return;  // as a write in place would fail
    mode_ = info.st_mode & 07777;
    // Devices, pipes and files with further names are written where they
    // are: a new file renamed over them would not be them.
    in_place_ = !S_ISDIR(info.st_mode) && (!S_ISREG(info.st_mode) || info.st_nlink > 1);
  }
#endif
  if (in_place_) {
    file_ = SupportFile(X_Creat(target_.c_str()));
    return;
  }
  temporary_ = TemporaryName(target_);
  file_ = SupportFile(X_Creat(temporary_.c_str()));
}

BlobTargetFile::~BlobTargetFile() {
  file_.Close();
  if (!committed_ && !temporary_.empty()) std::remove(temporary_.c_str());
}

bool BlobTargetFile::Commit() {
  if (!file_.Close()) return false;
  if (in_place_) return true;
#if defined(_WIN32)
  if (attributes_ != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(temporary_.c_str(), attributes_);
#else
  if (mode_ != 0) chmod(temporary_.c_str(), mode_);
#endif
  committed_ = ReplaceFileWith(temporary_, target_);
  return committed_;
}

}  // namespace lerv32
