// Files as the source and the sink of blob transfers. Both go through a
// buffer of 64 KiB, so that the 512-byte pieces do not cost a seek and a
// read or write each; a piece at another position than the next one seeks.
#ifndef LERV32_BLOB_BLOB_FILES_H
#define LERV32_BLOB_BLOB_FILES_H

#include <cstdint>
#include <utility>
#include <vector>

#include "blob/blob_transfer.h"

namespace lerv32 {

constexpr int32_t kBlobFileBuffer = 64 * 1024;  // a multiple of the piece size

// A file of the support library, closed when it goes.
class SupportFile {
 public:
  explicit SupportFile(int32_t handle) : handle_(handle) {}
  ~SupportFile() { Close(); }
  SupportFile(const SupportFile&) = delete;
  SupportFile& operator=(const SupportFile&) = delete;
  SupportFile& operator=(SupportFile&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
  }

  bool ok() const { return handle_ >= 0; }
  int32_t get() const { return handle_; }
  // False when closing failed.
  bool Close();

 private:
  int32_t handle_;
};

class FileSource : public BlobSource {
 public:
  explicit FileSource(int32_t file) : file_(file), buffer_(kBlobFileBuffer) {}
  int32_t Read(int64_t position, unsigned char* piece, int32_t n) override;

 private:
  int32_t file_;
  std::vector<unsigned char> buffer_;
  int64_t start_ = 0;  // file position of buffer_[0]
  int32_t length_ = 0;
};

class FileSink : public BlobSink {
 public:
  explicit FileSink(int32_t file) : file_(file) { buffer_.reserve(kBlobFileBuffer); }
  bool Write(int64_t position, const unsigned char* piece, int32_t n) override;
  // Writes what the buffer holds; false when that fails.
  bool Flush();
  // True once a write to the file failed (a full disk, a lost share).
  bool failed() const { return failed_; }

 private:
  int32_t file_;
  bool failed_ = false;
  std::vector<unsigned char> buffer_;
  int64_t start_ = 0;  // file position of buffer_[0]
  // Where the last write left the file: a write that follows it needs no
  // seek, which a pipe or a device would refuse.
  int64_t end_ = 0;
};

}  // namespace lerv32

#endif  // LERV32_BLOB_BLOB_FILES_H
