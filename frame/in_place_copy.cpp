#include "frame/in_place_copy.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "include/lebase32.h"

namespace lerv32 {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

off_t SizeOf(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 ? info.st_size : -1;
}

// The error of taking the room for size bytes, 0 when taken. fallocate
// itself: where the file system has none, the C library's stand-in reads
// the file, which is open for writing only.
int TakeRoom(int fd, off_t size) {
#if defined(__linux__)
  for (;;) {
    if (fallocate(fd, 0, 0, size) == 0) return 0;
    if (errno != EINTR) return errno;
  }
#else
  return posix_fallocate(fd, 0, size);
#endif
}

// Takes the room for size bytes; a file that was shorter is cut back to its
// old size when that fails. A file system that cannot reserve room is
// written without.
bool Reserve(int fd, off_t old_size, off_t size) {
  const int error = size == 0 ? 0 : TakeRoom(fd, size);
  if (error == 0 || error == EOPNOTSUPP || error == ENOSYS) return true;
  static_cast<void>(ftruncate(fd, old_size));
  return false;
}

bool WriteAllAt(int fd, const char* bytes, ssize_t n, off_t at) {
  while (n > 0) {
    const ssize_t written = pwrite(fd, bytes, static_cast<size_t>(n), at);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    n -= written;
    at += written;
  }
  return true;
}

bool CopyContent(int from, int to) {
  std::vector<char> buffer(64 * 1024);
  off_t at = 0;
  for (;;) {
    const ssize_t got = pread(from, buffer.data(), buffer.size(), at);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!WriteAllAt(to, buffer.data(), got, at)) return false;
    at += got;
  }
}

}  // namespace

InPlaceCopy CopyInPlace(const std::string& source, const std::string& target) {
  const Descriptor from(open(source.c_str(), O_RDONLY | O_CLOEXEC));
  Descriptor to(open(target.c_str(), O_WRONLY | O_CLOEXEC));
  if (!from.ok() || !to.ok()) return InPlaceCopy::kUntouched;
  const off_t size = SizeOf(from.get());
  const off_t old_size = SizeOf(to.get());
  if (size < 0 || old_size < 0 || !Reserve(to.get(), old_size, size)) return InPlaceCopy::kUntouched;
  const bool copied = CopyContent(from.get(), to.get()) && ftruncate(to.get(), size) == 0 && fsync(to.get()) == 0;
  return to.Close() && copied ? InPlaceCopy::kCopied : InPlaceCopy::kDamaged;
}

InPlaceCopy CopyReceivedFileOver(const std::string& source, const std::string& target, const char* what) {
  const InPlaceCopy result = CopyInPlace(source, target);
  if (result == InPlaceCopy::kDamaged) {
    leEventLogWrite(LEBASE32_LOG_ODBC, target.c_str(),
                    (std::string(what) + " written over the file only in part; the whole " + what + " is in " + source)
                        .c_str());
  }
  return result;
}

}  // namespace lerv32
#endif
