#include "sqlsim/engine/catalog_watch.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace sqlsim {

// The file's layout; every field is read and written by several processes.
struct CatalogWatch::Shared {
  std::atomic<uint64_t> layout;
  std::atomic<uint64_t> version;
  std::atomic<uint64_t> changing;
};

namespace {

// Other processes, 32-bit ones too, read the same bytes.
static_assert(std::atomic<uint64_t>::is_always_lock_free, "the counters must work across processes");
constexpr uint64_t kLayout = 0x53514c53494d0001;  // "SQLSIM", first layout

bool LockWaiting(int fd, int operation) {
  while (::flock(fd, operation) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

CatalogWatch::CatalogWatch(const std::string& database_path) {
  fd_ = ::open((database_path + ".sqlsim-shm").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) return;
  Map(fd_);
  if (!shared_) {
    ::close(fd_);
    fd_ = -1;
  }
}

CatalogWatch::~CatalogWatch() {
  Publish();
  if (shared_) ::munmap(shared_, sizeof(Shared));
  // Closing drops the shared lock that tells later openers the file is in use.
  if (fd_ >= 0) ::close(fd_);
}

// Every connection holds a shared lock on the file. One that gets it
// exclusively is the only user: it lays the file out anew and clears the
// changes a dead process left under way; the bump makes sure nobody trusts
// what was seen before.
void CatalogWatch::Map(int fd) {
  bool alone = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  if (!alone && !LockWaiting(fd, LOCK_SH)) return;
  struct stat info;
  if (::fstat(fd, &info) != 0) return;
  if (info.st_size < static_cast<off_t>(sizeof(Shared))) {
    if (!alone || ::ftruncate(fd, sizeof(Shared)) != 0) return;
  }
  void* memory = ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (memory == MAP_FAILED) return;
  auto* shared = static_cast<Shared*>(memory);
  if (alone) {
    shared->layout.store(kLayout);
    shared->changing.store(0);
    shared->version.fetch_add(1);
    if (!LockWaiting(fd, LOCK_SH)) {
      ::munmap(memory, sizeof(Shared));
      return;
    }
  }
  if (shared->layout.load() != kLayout) {
    ::munmap(memory, sizeof(Shared));
    return;
  }
  shared_ = shared;
}

// A writer raises changing before its commit and lowers it after bumping
// the version; reading changing first, then the version, a commit is never
// missed: either changing is still up or the version has moved.
CatalogCheck CatalogWatch::Check(bool in_transaction) {
  if (!shared_) return CatalogCheck::kAskSqlite;
  uint64_t changing = shared_->changing.load();
  uint64_t version = shared_->version.load();
  if (seen_ && version == seen_version_ && changing == 0) return CatalogCheck::kUnchanged;
  if (in_transaction) return CatalogCheck::kAskSqlite;
  bool moved = !seen_ || version != seen_version_;
  seen_ = true;
  seen_version_ = version;
  if (moved) return CatalogCheck::kChanged;
  return CatalogCheck::kAskSqlite;
}

void CatalogWatch::BeginChange() {
  if (!shared_ || changing_) return;
  shared_->changing.fetch_add(1);
  changing_ = true;
}

void CatalogWatch::Publish(bool changed) {
  if (!changing_) return;
  if (changed) shared_->version.fetch_add(1);
  shared_->changing.fetch_sub(1);
  changing_ = false;
}

}  // namespace sqlsim
