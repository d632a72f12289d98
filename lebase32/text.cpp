// Text fields and blank trimming.
#include <cstring>

#include "include/lebase32.h"

namespace {

// Upper case of every byte of code page 850. Letters without an upper-case
// form in the code page (sharp s, y with diaeresis, dotless i, micro) stay.
constexpr unsigned char kUpperCaseCp850Pairs[][2] = {
    {0x81, 0x9A},  // u diaeresis
    {0x82, 0x90},  // e acute
    {0x83, 0xB6},  // a circumflex
    {0x84, 0x8E},  // a diaeresis
    {0x85, 0xB7},  // a grave
    {0x86, 0x8F},  // a ring
    {0x87, 0x80},  // c cedilla
    {0x88, 0xD2},  // e circumflex
    {0x89, 0xD3},  // e diaeresis
    {0x8A, 0xD4},  // e grave
    {0x8B, 0xD8},  // i diaeresis
    {0x8C, 0xD7},  // i circumflex
    {0x8D, 0xDE},  // i grave
    {0x91, 0x92},  // ae
    {0x93, 0xE2},  // o circumflex
    {0x94, 0x99},  // o diaeresis
    {0x95, 0xE3},  // o grave
    {0x96, 0xEA},  // u circumflex
    {0x97, 0xEB},  // u grave
    {0x9B, 0x9D},  // o stroke
    {0xA0, 0xB5},  // a acute
    {0xA1, 0xD6},  // i acute
    {0xA2, 0xE0},  // o acute
    {0xA3, 0xE9},  // u acute
    {0xA4, 0xA5},  // n tilde
    {0xC6, 0xC7},  // a tilde
    {0xD0, 0xD1},  // eth
    {0xE4, 0xE5},  // o tilde
    {0xE7, 0xE8},  // thorn
    {0xEC, 0xED},  // y acute
};

struct UpperCaseTable {
  unsigned char upper[256];
  constexpr UpperCaseTable() : upper() {
    for (int c = 0; c < 256; ++c) {
      upper[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    for (const auto& pair : kUpperCaseCp850Pairs) upper[pair[0]] = pair[1];
  }
};
constexpr UpperCaseTable kUpperCase;

// Copies text into the field, padding with blanks; returns the bytes copied.
std::size_t CopyPadded(const char* text, char* p, std::size_t w) {
  std::size_t length = 0;
  if (text != nullptr) {
    while (length < w && text[length] != '\0') ++length;
    std::memmove(p, text, length);
  }
  std::memset(p + length, ' ', w - length);
  return length;
}

}  // namespace

extern "C" {

void LEBASE32_CALL CharNFromString(const char* text, char* p, int32_t w) {
  if (p == nullptr || w < 1) return;
  CopyPadded(text, p, static_cast<std::size_t>(w));
}

void LEBASE32_CALL CharUFromString(const char* text, char* p, int32_t w) {
  if (p == nullptr || w < 1) return;
  const std::size_t length = CopyPadded(text, p, static_cast<std::size_t>(w));
  for (std::size_t i = 0; i < length; ++i) {
    p[i] = static_cast<char>(kUpperCase.upper[static_cast<unsigned char>(p[i])]);
  }
}

char* LEBASE32_CALL lstrtrim(char* text) {
  if (text == nullptr) return text;
  std::size_t length = std::strlen(text);
  while (length > 0 && text[length - 1] == ' ') --length;
  text[length] = '\0';
  return text;
}

char* LEBASE32_CALL llstrtrim(char* text) {
  if (text == nullptr) return text;
  std::size_t lead = 0;
  while (text[lead] == ' ') ++lead;
  if (lead > 0) std::memmove(text, text + lead, std::strlen(text + lead) + 1);
  return text;
}

}  // extern "C"
