// Key filter texts belong to their definition and are made and freed only
// here. They are known by their addresses, so that a definition whose filter
// pointer is none of them (garbage a host wrote, or a text freed through
// another copy of the definition) is refused instead of read. The addresses
// of the last 1024 texts freed are not given to new texts, so that such a
// copy does not take another definition's filter for its own.
#ifndef LERV32_TABLEDEF_KEY_FILTERS_H
#define LERV32_TABLEDEF_KEY_FILTERS_H

#include <cstdint>
#include <string>

namespace lerv32 {

// A new filter text; null when no memory is left.
char* NewKeyFilter(const std::string& text);
// Frees a filter text of NewKeyFilter and sets filter null; any other
// address is only set null.
void FreeKeyFilter(char*& filter);
// Whether filter is null or a live text of NewKeyFilter.
bool LiveKeyFilter(const char* filter);
// Grows with every text freed: a definition found valid before may hold it.
uint64_t KeyFiltersFreed();

}  // namespace lerv32

#endif  // LERV32_TABLEDEF_KEY_FILTERS_H
