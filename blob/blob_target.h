// The file a blob is read into. The data go to a new file beside the target,
// which takes the target's place only when the whole blob has arrived: a
// failure leaves an earlier file of that name as it was. The target keeps
// what a file written in place would keep: a file the caller may not write
// is refused, symbolic links stay and their file is replaced (or made), the
// permissions and attributes stay. Devices, pipes and files with further
// (hard) links are written in place.
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
  int32_t handle() const { return file_.get(); }
  // Closes the new file and puts it in the target's place; false on failure.
  bool Commit();

 private:
  std::string target_;
  std::string temporary_;  // empty when written in place
  SupportFile file_{-1};
  bool in_place_ = false;
  bool committed_ = false;
#if defined(_WIN32)
  unsigned long attributes_ = 0;  // of the earlier file, or INVALID_FILE_ATTRIBUTES
#else
  unsigned mode_ = 0;  // permissions of the earlier file, 0 when there is none
#endif
};

}  // namespace lerv32

#endif  // LERV32_BLOB_BLOB_TARGET_H
