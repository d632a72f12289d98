#include "tabledef/key_filters.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "include/lebase32.h"

namespace lerv32 {
namespace {

std::mutex g_filters_mutex;
std::atomic<uint64_t> g_filters_freed{0};

std::unordered_set<const char*>& LiveFilters() {
  static auto* filters = new std::unordered_set<const char*>();  // never destroyed: used until exit
  return *filters;
}

}  // namespace

char* NewKeyFilter(const std::string& text) {
  auto* copy = static_cast<char*>(AllocGlobal(static_cast<uint32_t>(text.size() + 1)));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, text.c_str(), text.size() + 1);
  try {
    std::lock_guard<std::mutex> lock(g_filters_mutex);
    LiveFilters().insert(copy);
  } catch (...) {
    FreeGlobal(copy);
    return nullptr;
  }
  return copy;
}

void FreeKeyFilter(char*& filter) {
  if (filter != nullptr) {
    bool ours = false;
    {
      std::lock_guard<std::mutex> lock(g_filters_mutex);
      ours = LiveFilters().erase(filter) != 0;
    }
    if (ours) {
      ++g_filters_freed;
      FreeGlobal(filter);
    }
  }
  filter = nullptr;
}

bool LiveKeyFilter(const char* filter) {
  if (filter == nullptr) return true;
  std::lock_guard<std::mutex> lock(g_filters_mutex);
  return LiveFilters().count(filter) != 0;
}

uint64_t KeyFiltersFreed() { return g_filters_freed.load(); }

}  // namespace lerv32
