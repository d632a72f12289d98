// Writing a file so that readers see either the old or the whole new content,
// and so that the file stays what it was to the system: a symbolic link stays
// a link (the file it points to is written) and the permissions stay.
#ifndef LERV32_FRAME_ATOMIC_FILE_H
#define LERV32_FRAME_ATOMIC_FILE_H

#include <string>

namespace lerv32 {

// The file a chain of symbolic links ends in (path itself when it is no
// link); a link to a file not yet there names the file to make. Empty for a
// loop of links or one that cannot be read.
std::string FollowLinks(const std::string& path);

// A name for a new file in the folder of path that nobody can tell in
// advance, whose length does not depend on path's own name.
std::string TemporaryNameBeside(const std::string& path);

enum class TargetKind {
  kMissing,      // made anew
  kNotWritable,  // refused, as a write in place would be
  kSingle,       // replaced by a rename
  kShared,       // a file with further hard links: copied over in place
};

// What the file target (no link) is to a writer.
TargetKind KindOfTarget(const std::string& target);

// Renames the finished file temporary over path (replacing what is there)
// and syncs the folder, so that the rename outlasts a crash.
bool ReplaceFileWith(const std::string& temporary, const std::string& path);

// Writes content to a new, synced file beside the file path names (through
// its links) and renames it over that file, keeping its permissions; a file
// with further hard links is copied over in place instead, so that all its
// names show the content. A file the caller may not write is refused (and
// the event log says so). On failure the new file is removed and path is
// left as it was, unless the copy in place failed part way: then the new
// file stays as the one whole copy, and the event log names it.
bool WriteFileAtomically(const std::string& path, const std::string& content);

}  // namespace lerv32

#endif  // LERV32_FRAME_ATOMIC_FILE_H
