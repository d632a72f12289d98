// Global memory blocks off Windows. Every handle is looked up in the table of
// live blocks, so a stale or made-up handle fails like on Windows instead of
// touching freed memory. The table lives in this library alone: the record
// library and the host hand the same handles back and forth.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

#include "include/lebase32.h"

namespace {

struct Block {
  std::unique_ptr<unsigned char[]> data;
  size_t size = 0;
  unsigned lock_count = 0;
  bool movable = false;
};

std::mutex g_mutex;

std::unordered_map<HGLOBAL, Block>& Blocks() {
  static auto* blocks = new std::unordered_map<HGLOBAL, Block>();  // never destroyed: used until exit
  return *blocks;
}

Block* Find(HGLOBAL handle) {
  auto found = Blocks().find(handle);
  return found == Blocks().end() ? nullptr : &found->second;
}

constexpr size_t kMaxBytes = 0x7FFFFFFF;

// The handle of a movable block: an address of its own, never the data's.
HGLOBAL NewMovableHandle() {
  return static_cast<HGLOBAL>(new (std::nothrow) unsigned char[1]);
}

}  // namespace

extern "C" {

HGLOBAL LEBASE32_CALL GlobalAlloc(unsigned int flags, size_t bytes) {
  // At most what a block of 32-bit Windows can hold. Flags other than these
  // two (sharing, discarding) mean nothing here.
  if (bytes > kMaxBytes) return nullptr;
  const bool movable = (flags & GMEM_MOVEABLE) != 0;
  Block block;
  block.movable = movable;
  block.size = bytes;
  // A fixed block always has an address, and so memory, even for 0 bytes.
  const size_t reserved = movable || bytes > 0 ? bytes : 1;
  if (reserved > 0) {
    block.data.reset(new (std::nothrow) unsigned char[reserved]);
    if (!block.data) return nullptr;
    if ((flags & GMEM_ZEROINIT) != 0) std::memset(block.data.get(), 0, bytes);
  }
  HGLOBAL handle = movable ? NewMovableHandle() : static_cast<HGLOBAL>(block.data.get());
  if (handle == nullptr) return nullptr;
  try {
    std::lock_guard<std::mutex> lock(g_mutex);
    Blocks().emplace(handle, std::move(block));
  } catch (...) {
    if (movable) delete[] static_cast<unsigned char*>(handle);
    return nullptr;
  }
  return handle;
}

void* LEBASE32_CALL GlobalLock(HGLOBAL handle) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Block* block = Find(handle);
  if (block == nullptr || !block->data) return nullptr;
  ++block->lock_count;
  return block->data.get();
}

int LEBASE32_CALL GlobalUnlock(HGLOBAL handle) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Block* block = Find(handle);
  if (block == nullptr || block->lock_count == 0) return 0;
  return --block->lock_count > 0 ? 1 : 0;
}

size_t LEBASE32_CALL GlobalSize(HGLOBAL handle) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Block* block = Find(handle);
  return block == nullptr ? 0 : block->size;
}

HGLOBAL LEBASE32_CALL GlobalFree(HGLOBAL handle) {
  bool movable = false;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    auto found = Blocks().find(handle);
    if (found == Blocks().end()) return handle;
    movable = found->second.movable;
    Blocks().erase(found);
  }
  if (movable) delete[] static_cast<unsigned char*>(handle);
  return nullptr;
}

}  // extern "C"
