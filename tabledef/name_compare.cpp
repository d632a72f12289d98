// Names of fields and keys compared as the server compares identifiers:
// letters without case (those of Windows-1252 too, the code page of names at
// the server), blanks at the end ignored.
#include <cstddef>

#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

// Upper-case letters of Windows-1252 outside the two blocks A-Z and À-Þ,
// and their lower-case partners (Š Œ Ž Ÿ).
constexpr unsigned char kUpperOutsideBlocks[] = {0x8A, 0x8C, 0x8E, 0x9F};
constexpr unsigned char kLowerOutsideBlocks[] = {0x9A, 0x9C, 0x9E, 0xFF};

unsigned char LowerCp1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);  // not ×
  for (std::size_t i = 0; i < sizeof kUpperOutsideBlocks; ++i) {
    if (c == kUpperOutsideBlocks[i]) return kLowerOutsideBlocks[i];
  }
  return c;
}

std::string_view WithoutTrailingBlanks(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  a = WithoutTrailingBlanks(a);
  b = WithoutTrailingBlanks(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerCp1252(static_cast<unsigned char>(a[i])) != LowerCp1252(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool HasFieldNamed(const TableDef* td, std::string_view name) {
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    if (SameName(NameText(td->Fields[i].Name), name)) return true;
  }
  return false;
}

bool HasKeyNamed(const TableDef* td, std::string_view name) {
  for (int32_t k = 0; k < td->KeyCnt; ++k) {
    if (SameName(NameText(td->Keys[k].Name), name)) return true;
  }
  return false;
}

}  // namespace lerv32
