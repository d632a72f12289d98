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

// The file a path names in the end: through symbolic links, so that the
// link stays and its target gets the new text.
std::string FinalTarget(const std::string& path) {
  std::error_code error;
  std::filesystem::path target = path;
  for (int hops = 0; hops < 40 && std::filesystem::is_symlink(target, error); ++hops) {
    const std::filesystem::path next = std::filesystem::read_symlink(target, error);
    if (error) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target.string();
}

}  // namespace

std::string FileErrorText(int error) {
  switch (error) {
    case ENOENT: return "Ordner oder Datei nicht vorhanden";
    case EACCES: case EPERM: return "keine Berechtigung";
    case EISDIR: return "ist ein Ordner";
    case ENOTDIR: return "ein Teil des Pfads ist kein Ordner";
    case ENOSPC: return "Datenträger voll";
    case EROFS: return "schreibgeschützt";
    case EEXIST: return "ist schon vorhanden";
    case ENAMETOOLONG: return "Name zu lang";
    default: return fmt::format("Fehler {}", error);
  }
}

Output::Output(std::string path) : path_(std::move(path)) {
  if (path_.empty()) {
    file_ = stdout;
#ifdef _WIN32
    // Text goes out as it is: no CR added before the LF of CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return;
  }
  target_ = FinalTarget(path_);
  temporary_ = TemporaryBeside(target_);
  file_ = std::fopen(temporary_.c_str(), "wbx");
  if (!file_) throw Failure(fmt::format("Datei kann nicht angelegt werden: {} ({})", path_, FileErrorText(errno)));
}

Output::~Output() {
  if (path_.empty() || committed_) return;
  if (file_) std::fclose(file_);
  std::remove(temporary_.c_str());
}

void Output::Fail() const {
  throw Failure(fmt::format("Schreiben fehlgeschlagen: {} ({})", path_.empty() ? "Standardausgabe" : path_,
                            FileErrorText(errno)));
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
  // An existing file keeps who may read and write it.
  const std::filesystem::file_status existing = std::filesystem::status(target_, error);
  if (!error && std::filesystem::exists(existing)) {
    std::filesystem::permissions(temporary_, existing.permissions(), error);
  }
  error.clear();
  std::filesystem::rename(temporary_, target_, error);
  if (error) {
    throw Failure(fmt::format("Datei kann nicht ersetzt werden: {} ({})", path_, FileErrorText(error.default_error_condition().value())));
  }
  committed_ = true;
}

}  // namespace lerv
