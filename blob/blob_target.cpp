#include "blob/blob_target.h"

#include <sys/stat.h>

#include <cstdio>

#include "frame/atomic_file.h"
#include "frame/file_beside.h"
#include "frame/in_place_copy.h"
#include "include/lebase32.h"
#include "platform/win_api.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace lerv32 {

BlobTargetFile::BlobTargetFile(const char* target) : target_(FollowLinks(target)) {
  if (target_.empty()) {
    refusal_ = "its links lead round in a circle";
    return;
  }
  const TargetKind kind = KindOfTarget(target_);
  if (kind == TargetKind::kNotWritable) {
    refusal_ = "nobody may write it";  // as a write in place would fail
    return;
  }
  struct stat info {};
  const bool exists = stat(target_.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) {
    refusal_ = "it is a folder";
    return;
  }
#if !defined(_WIN32)
  // Devices and pipes are written where they are: a new file renamed over
  // them would not be them.
  in_place_ = exists && !S_ISREG(info.st_mode);
#endif
  shared_ = kind == TargetKind::kShared;
  if (in_place_) {
    file_ = SupportFile(X_Creat(target_.c_str()));
    return;
  }
  const FileBeside beside = MakeFileBeside(target_);
  temporary_ = beside.name;
  file_ = SupportFile(beside.handle);
  if (!file_.ok()) refusal_ = "no file could be made beside it";
}

BlobTargetFile::~BlobTargetFile() {
  file_.Close();
  if (!keep_temporary_ && !temporary_.empty()) std::remove(temporary_.c_str());
}

// The new file gets the target's permissions only now that the blob is whole.
bool BlobTargetFile::SyncAndClose() {
  KeepPermissionsOf(target_, FileBeside{temporary_, file_.get()});
#if !defined(_WIN32)
  const bool synced = fsync(file_.get()) == 0;
#else
  const bool synced = true;
#endif
  return file_.Close() && synced;
}

bool BlobTargetFile::Commit() {
  if (in_place_) return file_.Close();
  if (!SyncAndClose()) return false;
  if (shared_) return CopyOverSharedFile();
  keep_temporary_ = ReplaceFileWith(temporary_, target_);
  return keep_temporary_;
}

// The new file stays when the target was overwritten in part: it is then the
// only whole copy of the blob, and the event log names it.
bool BlobTargetFile::CopyOverSharedFile() {
#if !defined(_WIN32)
  const InPlaceCopy copied = CopyReceivedFileOver(temporary_, target_, "blob");
  keep_temporary_ = copied == InPlaceCopy::kDamaged;
  return copied == InPlaceCopy::kCopied;
#else
  return false;
#endif
}

}  // namespace lerv32
