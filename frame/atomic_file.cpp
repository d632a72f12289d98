#include "frame/atomic_file.h"

#include <cstdio>

#include "include/lebase32.h"
#include "platform/win_api.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace lerv32 {
namespace {

bool WriteAll(const std::string& path, const std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  ok = std::fflush(file) == 0 && ok;
#if !defined(_WIN32)
  ok = ok && fsync(fileno(file)) == 0;
#endif
  return std::fclose(file) == 0 && ok;
}

}  // namespace

bool ReplaceFileWith(const std::string& temporary, const std::string& path) {
#if defined(_WIN32)
  return MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(temporary.c_str(), path.c_str()) == 0;
#endif
}

bool WriteFileAtomically(const std::string& path, const std::string& content) {
  const std::string temporary = path + "." + UniqName(0) + ".tmp";
  if (WriteAll(temporary, content) && ReplaceFileWith(temporary, path)) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace lerv32
