// The file a blob is read into. The data go to a new file beside the target,
// which takes the target's place only when the whole blob has arrived: a
// failure leaves an earlier file of that name as it was. Until then only its
// owner may read it. The target keeps what a file written in place would
// keep: a file the caller may not write (or nobody may, root included) is
// refused, symbolic links stay and their file is replaced (or made), the
// permissions and attributes stay. Devices and pipes are written in place.
// A file with further (hard) links stays the same file: the whole blob goes
// to the new file first, which is then synced and copied over the target in
// place, after the room for it was taken. Should that copy fail all the same
// (the target then holds a mix), the new file stays beside the target as the
// one whole copy, and an event-log entry names it.
#ifndef LERV32_BLOB_BLOB_TARGET_H
#define LERV32_BLOB_BLOB_TARGET_H

#include <string>

#include "blob/blob_files.h"

namespace lerv32 {

class BlobTargetFile {
 public:
  explicit BlobTargetFile(const char* target);
  // Removes the new file unless it took the target's place.
  ~BlobTargetFile();
  BlobTargetFile(const BlobTargetFile&) = delete;
  BlobTargetFile& operator=(const BlobTargetFile&) = delete;

  // False when the target is refused or the new file cannot be made.
  bool ok() const { return file_.ok(); }
  // Why not, for the event log.
  const char* refusal() const { return refusal_; }
  int32_t handle() const { return file_.get(); }
  // Closes the new file and puts it in the target's place; false on failure.
  bool Commit();

 private:
  bool SyncAndClose();
  bool CopyOverSharedFile();

  std::string target_;
  std::string temporary_;  // empty when written in place
  SupportFile file_{-1};
  bool in_place_ = false;
  bool shared_ = false;          // a file with further hard links
  bool keep_temporary_ = false;  // renamed into place, or the one whole copy
  const char* refusal_ = "it cannot be opened";
};

}  // namespace lerv32

#endif  // LERV32_BLOB_BLOB_TARGET_H
