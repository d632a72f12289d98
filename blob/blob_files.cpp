#include "blob/blob_files.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "include/lebase32.h"

namespace lerv32 {
namespace {

bool SeekTo(int32_t file, int64_t position) {
  return position >= 0 && position <= INT32_MAX && X_Seek(file, static_cast<int32_t>(position), 0) == position;
}

}  // namespace

bool SupportFile::Close() {
  const bool closed = handle_ < 0 || X_Close(handle_) == 0;
  handle_ = -1;
  return closed;
}

int32_t FileSource::Read(int64_t position, unsigned char* piece, int32_t n) {
  if (position < start_ || position >= start_ + length_) {
    if (!SeekTo(file_, position)) return -1;
    length_ = X_Read(file_, buffer_.data(), kBlobFileBuffer);
    if (length_ < 0) {
      length_ = 0;
      return -1;
    }
    start_ = position;
  }
  const auto offset = static_cast<int32_t>(position - start_);
  const int32_t count = std::min(n, length_ - offset);
  if (count > 0) std::memcpy(piece, buffer_.data() + offset, static_cast<size_t>(count));
  return count;
}

bool FileSink::Write(int64_t position, const unsigned char* piece, int32_t n) {
  const bool follows = position == start_ + static_cast<int64_t>(buffer_.size());
  if (!follows || buffer_.size() + static_cast<size_t>(n) > static_cast<size_t>(kBlobFileBuffer)) {
    if (!Flush()) return false;
    start_ = position;
  }
  buffer_.insert(buffer_.end(), piece, piece + n);
  return true;
}

bool FileSink::Flush() {
  if (buffer_.empty()) return true;
  const auto size = static_cast<int32_t>(buffer_.size());
  const bool written = (start_ == end_ || SeekTo(file_, start_)) && X_Write(file_, buffer_.data(), size) == size;
  start_ += size;
  end_ = written ? start_ : -1;
  buffer_.clear();
  failed_ = failed_ || !written;
  return written;
}

}  // namespace lerv32
