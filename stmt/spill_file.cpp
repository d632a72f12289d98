#include "stmt/spill_file.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "include/lebase32.h"

namespace lerv32 {
namespace {

// Spills of this process so far; its low byte goes into the file name.
std::atomic<uint32_t> spill_counter{0};

// "<temp folder><unique name>.Qnn": a temp folder of any length.
std::string SpillFileName() {
  const uint32_t n = spill_counter.fetch_add(1) & 0xFF;
  const DWORD needed = GetTempPathA(0, nullptr);
  if (needed == 0) return "";
  std::vector<char> folder(needed + 1);
  const DWORD length = GetTempPathA(static_cast<DWORD>(folder.size()), folder.data());
  if (length == 0 || length >= folder.size()) return "";
  char suffix[8];
  std::snprintf(suffix, sizeof suffix, ".Q%02X", static_cast<unsigned>(n));
  return std::string(folder.data(), length) + UniqName(static_cast<int32_t>(n)) + suffix;
}

}  // namespace

SpillFile::SpillFile(uint32_t record_size) : record_size_(record_size) {
  if (record_size == 0) return;
  // Only a file of our own making: a name somebody else took (or a link
  // planted there) is passed over for the next one.
  for (int attempt = 0; attempt < 8 && !ok(); ++attempt) {
    const std::string name = SpillFileName();
    if (name.empty()) return;
    file_ = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS | FILE_FLAG_DELETE_ON_CLOSE,
                        nullptr);
  }
}

SpillFile::~SpillFile() {
  if (ok()) CloseHandle(file_);
}

bool SpillFile::Append(const char* record) {
  if (!ok() || count_ == INT32_MAX - 1) return false;  // room for the place after the last
  DWORD written = 0;
  if (!WriteFile(file_, record, record_size_, &written, nullptr) || written != record_size_) return false;
  ++count_;
  return true;
}

bool SpillFile::Fetch(int32_t code, char* buffer) {
  int32_t next = position_;
  switch (code) {
    case kGetSame: break;
    // Before the first and after the last record are one place each, as
    // for a driver's cursor: one step back in from either gives the end
    // record however often the cursor stepped out.
    case kGetNext: next = position_ <= count_ ? position_ + 1 : position_; break;
    case kGetPrior: next = position_ > 0 ? position_ - 1 : 0; break;
    case kGetLast: next = count_; break;
    case kGetFirst: next = 1; break;
    default:
      if (code < 1 || code > count_) return false;
      next = code;
  }
  position_ = next;
  if (position_ < 1 || position_ > count_) return false;
  return buffer == nullptr || Read(position_, buffer);
}

bool SpillFile::Read(int32_t number, char* buffer) {
  // 64-bit offsets: record numbers times sizes pass 4 GiB.
  LARGE_INTEGER offset{};
  offset.QuadPart = static_cast<int64_t>(number - 1) * record_size_;
  LARGE_INTEGER at{};
  DWORD read = 0;
  return SetFilePointerEx(file_, offset, &at, FILE_BEGIN) && at.QuadPart == offset.QuadPart &&
         ReadFile(file_, buffer, record_size_, &read, nullptr) && read == record_size_;
}

}  // namespace lerv32
