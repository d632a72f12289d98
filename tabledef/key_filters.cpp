#include "tabledef/key_filters.h"

#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>
#include <unordered_set>

#include "include/lebase32.h"

namespace lerv32 {
namespace {

std::mutex g_filters_mutex;
std::atomic<uint64_t> g_filters_freed{0};

// How many freed addresses are kept from new filters: a definition that
// still holds one of them (a copy of one whose filter was freed) is refused
// instead of reading another definition's filter.
constexpr std::size_t kQuarantined = 1024;

struct Registry {
  std::unordered_set<const char*> live;
  std::deque<const char*> freed_order;  // oldest first
  std::unordered_set<const char*> freed;  // the same addresses
  std::unordered_set<char*> parked;       // held so that a freed address is not handed out
};

Registry& Filters() {
  static auto* registry = new Registry();  // never destroyed: used until exit
  return *registry;
}

// Called with the mutex held.
void Quarantine(Registry& registry, const char* address) {
  registry.freed.insert(address);
  registry.freed_order.push_back(address);
  if (registry.freed_order.size() <= kQuarantined) return;
  const char* released = registry.freed_order.front();
  registry.freed_order.pop_front();
  registry.freed.erase(released);
  const auto held = registry.parked.find(const_cast<char*>(released));
  if (held != registry.parked.end()) {
    FreeGlobal(*held);
    registry.parked.erase(held);
  }
}

// A block at an address no quarantined filter had; called with the mutex held.
char* FreshBlock(Registry& registry, std::size_t size) {
  for (;;) {
    auto* block = static_cast<char*>(AllocGlobal(static_cast<uint32_t>(size)));
    if (block == nullptr || registry.freed.count(block) == 0) return block;
    registry.parked.insert(block);
  }
}

}  // namespace

char* NewKeyFilter(const std::string& text) {
  try {
    std::lock_guard<std::mutex> lock(g_filters_mutex);
    Registry& registry = Filters();
    char* copy = FreshBlock(registry, text.size() + 1);
    if (copy == nullptr) return nullptr;
    std::memcpy(copy, text.c_str(), text.size() + 1);
    try {
      registry.live.insert(copy);
    } catch (...) {
      FreeGlobal(copy);
      return nullptr;
    }
    return copy;
  } catch (...) {
    return nullptr;
  }
}

void FreeKeyFilter(char*& filter) {
  if (filter != nullptr) {
    std::lock_guard<std::mutex> lock(g_filters_mutex);
    Registry& registry = Filters();
    if (registry.live.erase(filter) != 0) {
      ++g_filters_freed;
      FreeGlobal(filter);
      try {
        Quarantine(registry, filter);
      } catch (...) {
        // Without room to remember it, the address may come back sooner.
      }
    }
  }
  filter = nullptr;
}

bool LiveKeyFilter(const char* filter) {
  if (filter == nullptr) return true;
  std::lock_guard<std::mutex> lock(g_filters_mutex);
  return Filters().live.count(filter) != 0;
}

uint64_t KeyFiltersFreed() { return g_filters_freed.load(); }

}  // namespace lerv32
