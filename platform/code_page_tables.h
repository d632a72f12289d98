// Byte <-> UTF-16 tables of the two code pages the stand-ins know.
#ifndef LERV32_PLATFORM_CODE_PAGE_TABLES_H
#define LERV32_PLATFORM_CODE_PAGE_TABLES_H

#include <cstddef>
#include <cstdint>

namespace lerv32::platform {

// A character the code page lacks, and the byte Windows writes for it.
struct BestFit {
  uint16_t unicode;
  uint8_t byte;
};

struct CodePageTable {
  const uint16_t* to_unicode;  // 256 entries, indexed by byte
  const BestFit* best_fit;     // sorted by unicode; no character of to_unicode
  size_t best_fit_count;
};

// Both code pages write the fullwidth forms U+FF01..U+FF5E as the ASCII
// characters they are drawn after; a rule rather than 94 rows per table.
constexpr uint16_t kFullwidthFirst = 0xFF01;
constexpr uint16_t kFullwidthLast = 0xFF5E;
constexpr uint16_t kFullwidthOffset = 0xFF01 - 0x21;

const CodePageTable& Cp850Table();
const CodePageTable& Cp1252Table();

}  // namespace lerv32::platform

#endif  // LERV32_PLATFORM_CODE_PAGE_TABLES_H
