// Writing a file so that readers see either the old or the whole new content.
#ifndef LERV32_FRAME_ATOMIC_FILE_H
#define LERV32_FRAME_ATOMIC_FILE_H

#include <string>

namespace lerv32 {

// Writes content to a temporary file beside path, then renames it over path.
// On failure the temporary file is removed and path is left as it was.
bool WriteFileAtomically(const std::string& path, const std::string& content);

// Renames the finished file temporary over path (replacing what is there).
bool ReplaceFileWith(const std::string& temporary, const std::string& path);

}  // namespace lerv32

#endif  // LERV32_FRAME_ATOMIC_FILE_H
