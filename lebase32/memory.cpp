// Zero-filled memory blocks, counted so that leaks show in the usage figures.
// The blocks alive are known by their addresses: FreeGlobal frees only one
// of them, so that a block freed twice or an address that is no block is
// ignored instead of corrupting the heap.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <unordered_set>

#include "include/lebase32.h"

namespace {

// The block size lives in a header in front of the block; 16 bytes keep
// the caller's part aligned for any type.
constexpr std::size_t kHeader = 16;

std::atomic<int64_t> g_bytes{0};
std::atomic<int64_t> g_blocks{0};

std::mutex g_live_mutex;

std::unordered_set<const void*>& LiveBlocks() {
  static auto* blocks = new std::unordered_set<const void*>();  // never destroyed: used until exit
  return *blocks;
}

// Whether block was alive; it is not from now on.
bool Retire(const void* block) {
  std::lock_guard<std::mutex> lock(g_live_mutex);
  return LiveBlocks().erase(block) != 0;
}

int32_t Clamp(int64_t value) {
  return value > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                     : static_cast<int32_t>(value);
}

}  // namespace

extern "C" {

void* LEBASE32_CALL AllocGlobal(uint32_t bytes) {
  // Summed in 64 bits: on a 32-bit system the header could overflow size_t.
  const uint64_t total = uint64_t{kHeader} + bytes;
  if (total > std::numeric_limits<std::size_t>::max()) return nullptr;
  auto* raw = static_cast<unsigned char*>(std::calloc(1, static_cast<std::size_t>(total)));
  if (raw == nullptr) return nullptr;
  std::memcpy(raw, &bytes, sizeof bytes);
  try {
    std::lock_guard<std::mutex> lock(g_live_mutex);
    LiveBlocks().insert(raw + kHeader);
  } catch (...) {
    std::free(raw);
    return nullptr;
  }
  g_bytes += bytes;
  ++g_blocks;
  return raw + kHeader;
}

void LEBASE32_CALL FreeGlobal(void* block) {
  if (block == nullptr || !Retire(block)) return;
  unsigned char* raw = static_cast<unsigned char*>(block) - kHeader;
  uint32_t bytes = 0;
  std::memcpy(&bytes, raw, sizeof bytes);
  g_bytes -= bytes;
  --g_blocks;
  std::free(raw);
}

void LEBASE32_CALL GetGlobalUsage(int32_t* bytes, int32_t* blocks) {
  if (bytes != nullptr) *bytes = Clamp(g_bytes.load());
  if (blocks != nullptr) *blocks = Clamp(g_blocks.load());
}

}  // extern "C"
