// Copying a finished file over another in place, for a target that must stay
// the same file (one with further hard links): a rename would give it a new
// file under one of its names only.
#ifndef LERV32_FRAME_IN_PLACE_COPY_H
#define LERV32_FRAME_IN_PLACE_COPY_H

#include <string>

namespace lerv32 {

enum class InPlaceCopy {
  kCopied,     // target holds source's bytes, synced
  kUntouched,  // failed before target's content was changed (no room, say)
  kDamaged,    // failed while overwriting: target holds a mix
};

// The room for source's size is taken first, so that a full disk fails
// before anything of target is overwritten. POSIX only.
InPlaceCopy CopyInPlace(const std::string& source, const std::string& target);

// CopyInPlace of a file received whole beside target. When the copy fails
// part way source is the one whole copy of what (a "blob", say): the caller
// keeps it, and the event log names it.
InPlaceCopy CopyReceivedFileOver(const std::string& source, const std::string& target, const char* what);

}  // namespace lerv32

#endif  // LERV32_FRAME_IN_PLACE_COPY_H
