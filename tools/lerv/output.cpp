#include "tools/lerv/output.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fmt/format.h>

#include "tools/lerv/failure.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace lerv {
namespace {

std::string TemporaryBeside(const std::string& path) {
  static unsigned serial = 0;
  return fmt::format("{}.lerv-{}-{}.tmp", path, static_cast<long>(getpid()), ++serial);
}

}  // namespace

Output::Output(std::string path) : path_(std::move(path)) {
  if (path_.empty()) {
    file_ = stdout;
#ifdef _WIN32
    // Text goes out as it is: no CR added before the LF of CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return;
  }
  temporary_ = TemporaryBeside(path_);
  file_ = std::fopen(temporary_.c_str(), "wbx");
  if (!file_) throw Failure(fmt::format("Datei kann nicht angelegt werden: {} ({})", path_, std::strerror(errno)));
}

Output::~Output() {
  if (path_.empty() || committed_) return;
  if (file_) std::fclose(file_);
  std::remove(temporary_.c_str());
}

void Output::Fail() const {
  throw Failure(fmt::format("Schreiben fehlgeschlagen: {} ({})", path_.empty() ? "Standardausgabe" : path_,
                            std::strerror(errno)));
}

void Output::Write(const std::string& text) {
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail();
}

void Output::Commit() {
  if (path_.empty()) {
    if (std::fflush(stdout) != 0) Fail();
    return;
  }
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) Fail();
  std::error_code error;
  std::filesystem::rename(temporary_, path_, error);
  if (error) {
    throw Failure(fmt::format("Datei kann nicht ersetzt werden: {} ({})", path_, error.message()));
  }
  committed_ = true;
}

}  // namespace lerv
