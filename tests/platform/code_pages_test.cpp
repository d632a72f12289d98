#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/code_page_tables.h"
#include "platform/win_api.h"

namespace {

// OemToCharA / CharToOemA of the bytes 0x80..0xFF as a German Windows gives
// them (the lower half is unchanged).
constexpr unsigned char kOemToAnsi[128] = {
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xF8, 0xA3, 0xD8, 0xD7, 0x83,
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA, 0xBF, 0xAE, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB,
    0xA6, 0xA6, 0xA6, 0xA6, 0xA6, 0xC1, 0xC2, 0xC0, 0xA9, 0xA6, 0xA6, 0x2B, 0x2B, 0xA2, 0xA5, 0x2B,
    0x2B, 0x2D, 0x2D, 0x2B, 0x2D, 0x2B, 0xE3, 0xC3, 0x2B, 0x2B, 0x2D, 0x2D, 0xA6, 0x2D, 0x2B, 0xA4,
    0xF0, 0xD0, 0xCA, 0xCB, 0xC8, 0x69, 0xCD, 0xCE, 0xCF, 0x2B, 0x2B, 0xA6, 0x5F, 0xA6, 0xCC, 0xAF,
    0xD3, 0xDF, 0xD4, 0xD2, 0xF5, 0xD5, 0xB5, 0xFE, 0xDE, 0xDA, 0xDB, 0xD9, 0xFD, 0xDD, 0xAF, 0xB4,
    0xAD, 0xB1, 0x3D, 0xBE, 0xB6, 0xA7, 0xF7, 0xB8, 0xB0, 0xA8, 0xB7, 0xB9, 0xB3, 0xB2, 0xA6, 0xA0,
};
constexpr unsigned char kAnsiToOem[128] = {
    0x3F, 0x3F, 0x27, 0x9F, 0x22, 0x2E, 0xC5, 0xCE, 0x5E, 0x25, 0x53, 0x3C, 0x4F, 0x3F, 0x5A, 0x3F,
    0x3F, 0x27, 0x27, 0x22, 0x22, 0x07, 0x2D, 0x2D, 0x7E, 0x54, 0x73, 0x3E, 0x6F, 0x3F, 0x7A, 0x59,
    0xFF, 0xAD, 0xBD, 0x9C, 0xCF, 0xBE, 0xDD, 0xF5, 0xF9, 0xB8, 0xA6, 0xAE, 0xAA, 0xF0, 0xA9, 0xEE,
    0xF8, 0xF1, 0xFD, 0xFC, 0xEF, 0xE6, 0xF4, 0xFA, 0xF7, 0xFB, 0xA7, 0xAF, 0xAC, 0xAB, 0xF3, 0xA8,
    0xB7, 0xB5, 0xB6, 0xC7, 0x8E, 0x8F, 0x92, 0x80, 0xD4, 0x90, 0xD2, 0xD3, 0xDE, 0xD6, 0xD7, 0xD8,
    0xD1, 0xA5, 0xE3, 0xE0, 0xE2, 0xE5, 0x99, 0x9E, 0x9D, 0xEB, 0xE9, 0xEA, 0x9A, 0xED, 0xE8, 0xE1,
    0x85, 0xA0, 0x83, 0xC6, 0x84, 0x86, 0x91, 0x87, 0x8A, 0x82, 0x88, 0x89, 0x8D, 0xA1, 0x8C, 0x8B,
    0xD0, 0xA4, 0x95, 0xA2, 0x93, 0xE4, 0x94, 0xF6, 0x9B, 0x97, 0xA3, 0x96, 0x81, 0xEC, 0xE7, 0x98,
};

unsigned char Expected(const unsigned char (&upper)[128], int byte) {
  return byte < 0x80 ? static_cast<unsigned char>(byte) : upper[byte - 0x80];
}

WCHAR Decode(UINT code_page, int byte) {
  const char c = static_cast<char>(byte);
  WCHAR unit = 0;
  EXPECT_EQ(MultiByteToWideChar(code_page, 0, &c, 1, &unit, 1), 1);
  return unit;
}

int Encode(UINT code_page, WCHAR unit) {
  char c = 0;
  EXPECT_EQ(WideCharToMultiByte(code_page, 0, &unit, 1, &c, 1, nullptr, nullptr), 1);
  return static_cast<unsigned char>(c);
}

// Every byte both ways as Windows converts it, and through Unicode and back.
TEST(CodePages, EveryByteConvertsAsOnWindows) {
#if defined(_WIN32)
  ASSERT_EQ(GetOEMCP(), 850u) << "not under a German locale";
#endif
  for (int byte = 0; byte < 256; ++byte) {
    char oem = static_cast<char>(byte), ansi = static_cast<char>(byte);
    ASSERT_TRUE(OemToCharBuffA(&oem, &oem, 1) && CharToOemBuffA(&ansi, &ansi, 1));
    EXPECT_EQ(static_cast<unsigned char>(oem), Expected(kOemToAnsi, byte)) << "cp850 byte " << byte;
    EXPECT_EQ(static_cast<unsigned char>(ansi), Expected(kAnsiToOem, byte)) << "cp1252 byte " << byte;
    for (UINT code_page : {850u, 1252u}) {
      EXPECT_EQ(Encode(code_page, Decode(code_page, byte)), byte) << code_page << " byte " << byte;
    }
  }
}

// Each code page's own characters both ways (the German letters under the
// code pages' default names); those of neither take the best fit (fullwidth
// forms too), or '?' when there is none.
TEST(CodePages, CharactersTakeTheirOwnByteOrTheBestFit) {
  struct Case { UINT code_page; WCHAR unicode; int byte; bool own; };
  const Case cases[] = {
      {CP_OEMCP, 0x00E4, 0x84, true}, {CP_OEMCP, 0x00D6, 0x99, true}, {CP_OEMCP, 0x00DF, 0xE1, true},
      {CP_ACP, 0x00FC, 0xFC, true},   {CP_ACP, 0x00C4, 0xC4, true},   {CP_ACP, 0x00DF, 0xDF, true},
      {1252, 0x20AC, 0x80, true}, {1252, 0x0081, 0x81, true}, {1252, 0x008D, 0x8D, true},
      {1252, 0x009D, 0x9D, true}, {1252, 0x0178, 0x9F, true}, {1252, 0x007F, 0x7F, true},
      {850, 0x0192, 0x9F, true},  {850, 0x2502, 0xB3, true},  {850, 0x0131, 0xD5, true},
      {850, 0x2017, 0xF2, true},  {850, 0x00A0, 0xFF, true},  {850, 0x0007, 0x07, true},
      {1252, 0x0141, 'L', false}, {1252, 0x221E, '8', false}, {1252, 0xFF21, 'A', false},
      {1252, 0xFF5E, '~', false}, {850, 0xFF01, '!', false},  {1252, 0x4E00, '?', false},
      {1252, 0xD800, '?', false}, {850, 0x4E00, '?', false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Encode(c.code_page, c.unicode), c.byte) << c.code_page << " U+" << std::hex << c.unicode;
    if (c.own) {
      EXPECT_EQ(Decode(c.code_page, c.byte), c.unicode) << c.code_page << " byte " << c.byte;
    }
  }
}

// The string forms convert up to and with the terminator, the buffer forms
// exactly length bytes.
TEST(CodePages, ConvertsStringsAndBuffers) {
  const char kOem[] = "Gr\x81\xE1" "e \x8E\x99\x9A";  // "Grüße ÄÖÜ" in 850
  const char kAnsi[] = "Gr\xFC\xDF" "e \xC4\xD6\xDC";
  std::string text(sizeof kOem, '#'), back(sizeof kOem, '#');
  ASSERT_TRUE(OemToCharA(kOem, &text[0]));
  EXPECT_EQ(text, std::string(kAnsi, sizeof kAnsi));
  ASSERT_TRUE(CharToOemA(text.c_str(), &back[0]));
  EXPECT_EQ(back, std::string(kOem, sizeof kOem));
  char buffer[] = {'\x84', '\0', '\x94', '\x81'};
  ASSERT_TRUE(OemToCharBuffA(buffer, buffer, 3));
  EXPECT_EQ(std::string(buffer, 4), std::string("\xE4\0\xF6\x81", 4));
}

// Both directions count alike: with the terminator when the length is -1,
// nothing when the buffer is too small or the call is malformed.
TEST(CodePages, ConversionSizesAndRefusals) {
  const char bytes[] = "\x80xy";
  const WCHAR units[] = {0x20AC, 'x', 'y', 0};
  struct Case { UINT code_page; bool src; int src_len; bool dest; int dest_len; int result; };
  const Case cases[] = {
      {CP_ACP, true, -1, false, 0, 4},  {CP_ACP, true, 3, false, 0, 3}, {CP_ACP, true, -1, true, 3, 0},
      {CP_ACP, true, 0, true, 4, 0},    {CP_ACP, false, -1, true, 4, 0}, {CP_ACP, true, -1, false, 4, 0},
      {CP_ACP, true, -1, true, -1, 0},  {4711, true, -1, true, 4, 0},   {CP_ACP, true, -1, true, 1, 0},
      {CP_ACP, true, -1, true, 4, 4},
  };
  for (const Case& c : cases) {
    WCHAR wide[5] = {9, 9, 9, 9, 9};
    char narrow[5] = {'#', '#', '#', '#', '#'};
    EXPECT_EQ(MultiByteToWideChar(c.code_page, 0, c.src ? bytes : nullptr, c.src_len,
                                  c.dest ? wide : nullptr, c.dest_len), c.result);
    EXPECT_EQ(WideCharToMultiByte(c.code_page, 0, c.src ? units : nullptr, c.src_len,
                                  c.dest ? narrow : nullptr, c.dest_len, nullptr, nullptr), c.result);
    if (c.dest && c.dest_len >= 0) {  // nothing written past the buffer
      EXPECT_TRUE(wide[c.dest_len] == 9 && narrow[c.dest_len] == '#') << c.dest_len;
    }
    if (c.dest && c.result == 4) {
      EXPECT_EQ(std::vector<WCHAR>(wide, wide + 5), (std::vector<WCHAR>{0x20AC, 'x', 'y', 0, 9}));
      EXPECT_EQ(std::string(narrow, 5), std::string("\x80xy\0#", 5));
    }
  }
}

// The lookups search the best-fit lists by halves, and take the byte table
// first: an unsorted list or a row that repeats a character would go wrong.
TEST(CodePageTables, BestFitListsAreSortedAndAddOnlyNewCharacters) {
  using lerv32::platform::CodePageTable;
  for (const CodePageTable* table :
       {&lerv32::platform::Cp850Table(), &lerv32::platform::Cp1252Table()}) {
    for (size_t i = 0; i < table->best_fit_count; ++i) {
      const auto& entry = table->best_fit[i];
      if (i > 0) {
        EXPECT_LT(table->best_fit[i - 1].unicode, entry.unicode);
      }
      for (int byte = 0; byte < 256; ++byte) {
        EXPECT_NE(table->to_unicode[byte], entry.unicode) << "row " << i;
      }
    }
  }
}

}  // namespace
