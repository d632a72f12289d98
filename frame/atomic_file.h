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

// Renames the finished file temporary over path (replacing what is there)
// and syncs the folder, so that the rename outlasts a crash.
bool ReplaceFileWith(const std::string& temporary, const std::string& path);

// Writes content to a new, synced file beside the file path names (through
// its links) and renames it over that file, keeping its permissions. On
// failure the new file is removed and path is left as it was.
bool WriteFileAtomically(const std::string& path, const std::string& content);

}  // namespace lerv32

#endif  // LERV32_FRAME_ATOMIC_FILE_H
