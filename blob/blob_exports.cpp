// The blob exports: blobs to and from files and global memory blocks.
#include <cstring>
#include <string>

#include "blob/blob_files.h"
#include "blob/blob_target.h"
#include "blob/blob_transfer.h"
#include "frame/export_guard.h"
#include "frame/odbc_handles.h"
#include "include/lebase32.h"
#include "include/lerv32.h"
#include "platform/win_api.h"

namespace lerv32 {
namespace {

class MemorySource : public BlobSource {
 public:
  MemorySource(const unsigned char* block, int64_t size) : block_(block), size_(size) {}
  int32_t Read(int64_t position, unsigned char* piece, int32_t n) override {
    const int64_t available = size_ - position;
    if (available <= 0) return 0;
    const int32_t count = available < n ? static_cast<int32_t>(available) : n;
    std::memcpy(piece, block_ + position, static_cast<size_t>(count));
    return count;
  }

 private:
  const unsigned char* block_;
  int64_t size_;
};

class MemorySink : public BlobSink {
 public:
  MemorySink(unsigned char* block, int64_t size) : block_(block), size_(size) {}
  bool Write(int64_t position, const unsigned char* piece, int32_t n) override {
    if (position < 0 || position + n > size_) return false;
    std::memcpy(block_ + position, piece, static_cast<size_t>(n));
    return true;
  }

 private:
  unsigned char* block_;
  int64_t size_;
};

// A file opened for reading once, with its size; ok() false when either
// fails, so that a source of unknown size never touches the blob.
class SourceFile {
 public:
  explicit SourceFile(const char* name) : file_(name == nullptr ? -1 : X_Open(name, 0)) {
    if (!file_.ok()) return;
    const int32_t here = X_Seek(file_.get(), 0, 1);
    size_ = X_Seek(file_.get(), 0, 2);
    if (here < 0 || size_ < 0 || X_Seek(file_.get(), here, 0) != here) size_ = -1;
  }
  bool ok() const { return file_.ok() && size_ >= 0; }
  int32_t handle() const { return file_.get(); }
  int32_t size() const { return size_; }

 private:
  SupportFile file_;
  int32_t size_ = -1;
};

// Writes the blob inside a transaction of its own when the connection has
// none, so that a failure leaves the blob as it was.
int32_t WriteWhole(SQLHDBC dbc, int32_t blob_id, BlobSource& source, int64_t size) {
  BlobWriteTransaction transaction(dbc);
  if (!transaction.ready()) return kBlobCannotExecute;
  return transaction.Finish(WriteBlob(dbc, blob_id, source, size));
}

int32_t UpdateFromFile(SQLHDBC dbc, int32_t blob_id, const SourceFile& file) {
  if (!file.ok()) return kBlobCannotOpenSource;
  FileSource source(file.handle());
  return WriteWhole(dbc, blob_id, source, file.size());
}

int32_t UpdateFromMemory(SQLHDBC dbc, int32_t blob_id, HGLOBAL block) {
  if (block == nullptr) {
    MemorySource nothing(nullptr, 0);
    return WriteWhole(dbc, blob_id, nothing, 0);
  }
  const auto* bytes = static_cast<const unsigned char*>(GlobalLock(block));
  if (bytes == nullptr) return kBlobNoMemory;
  const auto size = static_cast<int64_t>(GlobalSize(block));
  MemorySource source(bytes, size);
  const int32_t result = WriteWhole(dbc, blob_id, source, size);
  GlobalUnlock(block);
  return result;
}

// A new blob written by update; a blob whose data could not be written is
// removed again and no id given out.
template <typename Update>
int32_t Insert(SQLHDBC dbc, int32_t* blob_id, Update&& update) {
  if (blob_id == nullptr) return kBlobUnexpectedResult;
  *blob_id = 0;
  int32_t id = 0;
  const int32_t added = AddBlob(dbc, &id);
  if (added != kBlobOk) return added;
  const int32_t written = update(id);
  if (written != kBlobOk) {
    DeleteBlob(dbc, id);
    return written;
  }
  *blob_id = id;
  return kBlobOk;
}

// The event log says why the blob's file was not written; result as given.
int32_t FileNotWritten(const char* name, int32_t blob_id, const char* why, int32_t result) {
  const std::string text = "file not written: blob " + std::to_string(blob_id) + ": " + why;
  leEventLogWrite(LEBASE32_LOG_ODBC, name, text.c_str());
  return result;
}

// The blob goes to a new file beside name, which replaces name only when the
// whole blob arrived (blob_target.h).
int32_t SelectToFile(SQLHDBC dbc, int32_t blob_id, const char* name) {
  if (name == nullptr || *name == '\0') return kBlobCannotCreateTarget;
  const int32_t size = SizeOfBlob(dbc, blob_id);
  if (size < 1) return size < 0 ? kBlobCannotExecute : kBlobNoData;
  BlobTargetFile target(name);
  if (!target.ok()) return FileNotWritten(name, blob_id, target.refusal(), kBlobCannotCreateTarget);
  FileSink sink(target.handle());
  int32_t result = ReadBlob(dbc, blob_id, sink, nullptr);
  if (!sink.Flush() && result == kBlobOk) result = kBlobUnexpectedEnd;
  // Failures of the server are the result's alone; those of the file are logged.
  if (sink.failed()) return FileNotWritten(name, blob_id, "writing the file failed", result);
  if (result == kBlobOk && !target.Commit()) {
    return FileNotWritten(name, blob_id, "the new file could not take the old one's place", kBlobCannotCreateTarget);
  }
  return result;
}

int32_t SelectToMemory(SQLHDBC dbc, int32_t blob_id, HGLOBAL* out) {
  if (out == nullptr) return kBlobNoMemory;
  *out = nullptr;
  // A size that cannot be read is a failure of the server, not an empty blob.
  const int32_t size = SizeOfBlob(dbc, blob_id);
  if (size < 1) return size < 0 ? kBlobCannotExecute : kBlobNoData;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<size_t>(size));
  if (block == nullptr) return kBlobNoMemory;
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  if (bytes == nullptr) {
    GlobalFree(block);
    return kBlobNoMemory;
  }
  MemorySink sink(bytes, size);
  int64_t delivered = 0;
  int32_t result = ReadBlob(dbc, blob_id, sink, &delivered);
  GlobalUnlock(block);
  // A blob that shrank since its size was read would leave a tail unwritten.
  if (result == kBlobOk && delivered != size) result = kBlobUnexpectedEnd;
  if (result != kBlobOk) {
    GlobalFree(block);
    return result;
  }
  *out = block;
  return kBlobOk;
}

// A connection handle that cannot be one is passed on as null, which fails
// every call as a missing connection does.
SQLHDBC Dbc(LERV32_HDBC connection) { return static_cast<SQLHDBC>(PlausibleOrNull(connection)); }

}  // namespace
}  // namespace lerv32

using lerv32::Guarded;
using lerv32::GuardedOn;

extern "C" {

int32_t LERV32_CALL rv_OdbcInsertBlobFromFile(LERV32_HDBC connection, int32_t* blob_id, const char* file_name) {
  return GuardedOn<int32_t>(connection, lerv32::kBlobUnexpectedResult, [&] {
    auto dbc = lerv32::Dbc(connection);
    // The file is opened first, and once: a missing file makes no empty blob.
    const lerv32::SourceFile file(file_name);
    if (!file.ok()) {
      if (blob_id != nullptr) *blob_id = 0;
      return int32_t{lerv32::kBlobCannotOpenSource};
    }
    return lerv32::Insert(dbc, blob_id, [&](int32_t id) { return lerv32::UpdateFromFile(dbc, id, file); });
  });
}

int32_t LERV32_CALL rv_OdbcInsertBlobFromHGlobal(LERV32_HDBC connection, int32_t* blob_id, LERV32_HGLOBAL block) {
  return GuardedOn<int32_t>(connection, lerv32::kBlobUnexpectedResult, [&] {
    auto dbc = lerv32::Dbc(connection);
    return lerv32::Insert(dbc, blob_id, [&](int32_t id) { return lerv32::UpdateFromMemory(dbc, id, block); });
  });
}

int32_t LERV32_CALL rv_OdbcUpdateBlobFromFile(LERV32_HDBC connection, int32_t blob_id, const char* file_name) {
  return GuardedOn<int32_t>(connection, lerv32::kBlobUnexpectedResult, [&] {
    return lerv32::UpdateFromFile(lerv32::Dbc(connection), blob_id, lerv32::SourceFile(file_name));
  });
}

int32_t LERV32_CALL rv_OdbcUpdateBlobFromHGlobal(LERV32_HDBC connection, int32_t blob_id, LERV32_HGLOBAL block) {
  return GuardedOn<int32_t>(connection, lerv32::kBlobUnexpectedResult, [&] {
    return lerv32::UpdateFromMemory(lerv32::Dbc(connection), blob_id, block);
  });
}

int32_t LERV32_CALL rv_OdbcSelectBlobToFile(LERV32_HDBC connection, int32_t blob_id, const char* file_name) {
  return GuardedOn<int32_t>(connection, lerv32::kBlobUnexpectedEnd, [&] {
    return lerv32::SelectToFile(lerv32::Dbc(connection), blob_id, file_name);
  });
}

int32_t LERV32_CALL rv_OdbcSelectBlobToHGlobal(LERV32_HDBC connection, int32_t blob_id, LERV32_HGLOBAL* block) {
  return GuardedOn<int32_t>(connection, lerv32::kBlobUnexpectedEnd, [&] {
    return lerv32::SelectToMemory(lerv32::Dbc(connection), blob_id, block);
  });
}

int32_t LERV32_CALL rv_OdbcSizeOfBlob(LERV32_HDBC connection, int32_t blob_id) {
  return GuardedOn<int32_t>(connection, -1, [&] {
    return lerv32::SizeOfBlob(lerv32::Dbc(connection), blob_id);
  });
}

int16_t LERV32_CALL rv_OdbcDeleteBlob(LERV32_HDBC connection, int32_t blob_id) {
  return GuardedOn<int16_t>(connection, SQL_ERROR, [&] {
    return static_cast<int16_t>(lerv32::DeleteBlob(lerv32::Dbc(connection), blob_id));
  });
}

}  // extern "C"
