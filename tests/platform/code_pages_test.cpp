#include <gtest/gtest.h>

#include <cstring>
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

unsigned char OemByteToAnsi(int byte) {
  char c = static_cast<char>(byte);
  EXPECT_TRUE(OemToCharBuffA(&c, &c, 1));
  return static_cast<unsigned char>(c);
}

unsigned char AnsiByteToOem(int byte) {
  char c = static_cast<char>(byte);
  EXPECT_TRUE(CharToOemBuffA(&c, &c, 1));
  return static_cast<unsigned char>(c);
}

WCHAR Decode(UINT code_page, int byte) {
  const char c = static_cast<char>(byte);
  WCHAR unit = 0;
  EXPECT_EQ(MultiByteToWideChar(code_page, 0, &c, 1, &unit, 1), 1);
  return unit;
}

int Encode(UINT code_page, WCHAR unit, BOOL* used_default = nullptr) {
  char c = 0;
  EXPECT_EQ(WideCharToMultiByte(code_page, 0, &unit, 1, &c, 1, nullptr, used_default), 1);
  return static_cast<unsigned char>(c);
}

// Every byte both ways as Windows converts it, and through Unicode and back.
TEST(CodePages, EveryByteConvertsAsOnWindows) {
  for (int byte = 0; byte < 256; ++byte) {
    EXPECT_EQ(OemByteToAnsi(byte), Expected(kOemToAnsi, byte)) << "cp850 byte " << byte;
    EXPECT_EQ(AnsiByteToOem(byte), Expected(kAnsiToOem, byte)) << "cp1252 byte " << byte;
    for (UINT code_page : {850u, 1252u}) {
      EXPECT_EQ(Encode(code_page, Decode(code_page, byte)), byte) << code_page << " byte " << byte;
    }
  }
}

// The umlauts and the sharp s, under the code pages' default names too.
TEST(CodePages, GermanLettersMapBothWays) {
  struct Letter { unsigned char oem, ansi; WCHAR unicode; };
  const Letter letters[] = {{0x84, 0xE4, 0x00E4}, {0x94, 0xF6, 0x00F6}, {0x81, 0xFC, 0x00FC},
                            {0x8E, 0xC4, 0x00C4}, {0x99, 0xD6, 0x00D6}, {0x9A, 0xDC, 0x00DC},
                            {0xE1, 0xDF, 0x00DF}};
  for (const Letter& l : letters) {
    EXPECT_EQ(OemByteToAnsi(l.oem), l.ansi);
    EXPECT_EQ(AnsiByteToOem(l.ansi), l.oem);
    EXPECT_EQ(Decode(CP_OEMCP, l.oem), l.unicode);
    EXPECT_EQ(Decode(CP_ACP, l.ansi), l.unicode);
    EXPECT_EQ(Encode(CP_OEMCP, l.unicode), l.oem);
    EXPECT_EQ(Encode(CP_ACP, l.unicode), l.ansi);
  }
}

TEST(CodePages, DecodesTheCharactersOfEachCodePage) {
  struct Case { UINT code_page; int byte; WCHAR unicode; };
  const Case cases[] = {
      {1252, 0x80, 0x20AC}, {1252, 0x81, 0x0081}, {1252, 0x8D, 0x008D}, {1252, 0x9D, 0x009D},
      {1252, 0x9F, 0x0178}, {1252, 0x7F, 0x007F}, {850, 0x9F, 0x0192},  {850, 0xB3, 0x2502},
      {850, 0xD5, 0x0131},  {850, 0xF2, 0x2017},  {850, 0xFF, 0x00A0},  {850, 0x07, 0x0007},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Decode(c.code_page, c.byte), c.unicode) << c.code_page << " byte " << c.byte;
  }
}

// Characters of the other code page are covered by the tables above; these
// are of neither: best fits, the fullwidth forms, and those without a byte.
TEST(CodePages, CharactersOutsideTheCodePageTakeTheBestFit) {
  struct Case { UINT code_page; WCHAR unicode; int byte; };
  const Case cases[] = {
      {1252, 0x0141, 'L'}, {1252, 0x221E, '8'}, {1252, 0xFF21, 'A'}, {1252, 0xFF5E, '~'},
      {850, 0xFF01, '!'},  {1252, 0x4E00, '?'}, {1252, 0xD800, '?'},  {850, 0x4E00, '?'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Encode(c.code_page, c.unicode), c.byte) << c.code_page << " U+" << std::hex
                                                      << c.unicode;
  }
}

TEST(CodePages, UsedDefaultReportsOnlyTheDefaultCharacter) {
  BOOL used = TRUE;
  EXPECT_EQ(Encode(1252, 0x0131, &used), 'i');  // best fit is no default
  EXPECT_FALSE(used);
  EXPECT_EQ(Encode(850, 0x20AC, &used), '?');
  EXPECT_TRUE(used);

  const WCHAR text[] = {'a', 0x4E00, 'b'};
  const char star = '*';
  char out[3] = {};
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, 3, out, 3, &star, &used), 3);
  EXPECT_EQ(std::string(out, 3), "a*b");
  EXPECT_TRUE(used);
  used = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, 3, nullptr, 0, nullptr, &used), 3);
  EXPECT_TRUE(used);
}

// The string forms convert up to and with the terminator, the buffer forms
// exactly length bytes (in place here); a null pointer fails and changes nothing.
TEST(CodePages, ConvertsStringsAndBuffers) {
  const char kOem[] = "Gr\x81\xE1" "e \x8E\x99\x9A";  // "Grüße ÄÖÜ" in 850
  const char kAnsi[] = "Gr\xFC\xDF" "e \xC4\xD6\xDC";
  char text[sizeof kOem], back[sizeof kOem];
  std::memset(text, '#', sizeof text);
  std::memset(back, '#', sizeof back);
  ASSERT_TRUE(OemToCharA(kOem, text));
  EXPECT_EQ(std::string(text, sizeof text), std::string(kAnsi, sizeof kAnsi));
  ASSERT_TRUE(CharToOemA(text, back));
  EXPECT_EQ(std::string(back, sizeof back), std::string(kOem, sizeof kOem));

  char buffer[] = {'\x84', '\0', '\x94', '\x81'};
  ASSERT_TRUE(OemToCharBuffA(buffer, buffer, 3));
  EXPECT_EQ(std::string(buffer, 4), std::string("\xE4\0\xF6\x81", 4));
  ASSERT_TRUE(CharToOemBuffA(buffer, buffer, 0));
  EXPECT_EQ(buffer[0], '\xE4');

  EXPECT_FALSE(OemToCharA(nullptr, text));
  EXPECT_FALSE(CharToOemA(text, nullptr));
  EXPECT_FALSE(OemToCharBuffA(nullptr, text, 1));
  EXPECT_FALSE(CharToOemBuffA(text, nullptr, 1));
  EXPECT_STREQ(text, kAnsi);
}

TEST(CodePages, MultiByteToWideCharSizes) {
  const char* text = "\x80xy";
  WCHAR out[5] = {9, 9, 9, 9, 9};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 4);  // with the terminator
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 3, nullptr, 0), 3);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, out, 4), 4);
  EXPECT_EQ(std::vector<WCHAR>(out, out + 5), (std::vector<WCHAR>{0x20AC, 'x', 'y', 0, 9}));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, out, 3), 0);  // no room for the zero
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 0, out, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, out, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, out, -1), 0);
  EXPECT_EQ(MultiByteToWideChar(4711, 0, text, -1, out, 4), 0);  // no such code page
}

TEST(CodePages, WideCharToMultiByteSizes) {
  const WCHAR text[] = {0x20AC, 'x', 'y', 0};
  char out[5] = {'#', '#', '#', '#', '#'};
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr), 4);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, 2, nullptr, 0, nullptr, nullptr), 2);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, out, 4, nullptr, nullptr), 4);
  EXPECT_EQ(std::string(out, 5), std::string("\x80xy\0#", 5));
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, out, 3, nullptr, nullptr), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, 0, out, 4, nullptr, nullptr), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, nullptr, -1, out, 4, nullptr, nullptr), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 4, nullptr, nullptr), 0);
  EXPECT_EQ(WideCharToMultiByte(4711, 0, text, -1, out, 4, nullptr, nullptr), 0);
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

TEST(OleStrings, LengthPrefixTerminatorAndNulls) {
  const WCHAR text[] = {'a', 0, 'b'};  // a zero inside counts as text
  for (const WCHAR* source : {text, static_cast<const WCHAR*>(nullptr)}) {
    BSTR bstr = SysAllocStringLen(source, 3);
    ASSERT_NE(bstr, nullptr);
    uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<char*>(bstr) - 4, 4);
    EXPECT_EQ(prefix, 6u);
    EXPECT_EQ(SysStringLen(bstr), 3u);
    const std::vector<WCHAR> expected =
        source != nullptr ? std::vector<WCHAR>{'a', 0, 'b', 0} : std::vector<WCHAR>(4, 0);
    EXPECT_EQ(std::vector<WCHAR>(bstr, bstr + 4), expected);
    SysFreeString(bstr);
  }
  const WCHAR word[] = {'h', 'i', 0};
  BSTR copy = SysAllocString(word);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(SysStringLen(copy), 2u);
  SysFreeString(copy);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
}

}  // namespace
