// The new file a replacement is written to before it takes the target's
// place. It sits in the target's folder (a rename does not cross file
// systems) and is one this process made: a name already taken there, by a
// file or by a symbolic link somebody put there, is passed over for another,
// so that nothing but the new file is ever written, truncated or chmodded.
#ifndef LERV32_FRAME_FILE_BESIDE_H
#define LERV32_FRAME_FILE_BESIDE_H

#include <cstdint>
#include <functional>
#include <string>

#include "frame/atomic_file.h"

namespace lerv32 {

struct FileBeside {
  std::string name;
  int32_t handle = -1;  // a support-library file (X_Write, X_Close); -1: none made
};

// The names to try for the file beside a path, one per call.
using NameBeside = std::function<std::string(const std::string& path)>;

// A new, empty file beside path. Beside a file that is there it is readable
// and writable by its owner only, until it is given that file's permissions.
FileBeside MakeFileBeside(const std::string& path, const NameBeside& name_beside = TemporaryNameBeside);

// Gives the new file, still open, the permissions of the file path when
// there is one (the open file, never whatever its name names by then).
void KeepPermissionsOf(const std::string& path, const FileBeside& file);

}  // namespace lerv32

#endif  // LERV32_FRAME_FILE_BESIDE_H
