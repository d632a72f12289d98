#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "include/lebase32.h"
#include "platform/win_api.h"

namespace {

using Units = std::vector<LEBASE32_WCHAR>;

// "Grüße €" in code page 1252 and in UTF-16 with its terminator.
const char kAnsiWord[] = "Gr\xFC\xDF" "e \x80";
const Units kWideWord = {'G', 'r', 0x00FC, 0x00DF, 'e', ' ', 0x20AC, 0};

// ANSI text as a UTF-16 copy and as an automation string.
TEST(WideText, AnsiTextBecomesUtf16) {
  struct Case {
    const char* text;
    Units expected;  // terminator included
  };
  const Case cases[] = {
      {kAnsiWord, kWideWord},
      {"\x81\x9F\xFF", {0x0081, 0x0178, 0x00FF, 0}},
      {"", {0}},
      {nullptr, {0}},
  };
  for (const Case& c : cases) {
    const std::string name = c.text != nullptr ? c.text : "(null)";
    Units dest(c.expected.size() + 1, 0x5555);
    EXPECT_EQ(lstrcpy_A2U(dest.data(), c.text), dest.data());
    EXPECT_EQ(Units(dest.begin(), dest.end() - 1), c.expected) << name;
    EXPECT_EQ(dest.back(), 0x5555) << "wrote past the terminator: " << name;

    LEBASE32_BSTR bstr = nullptr;
    lSetBstr_A(&bstr, c.text);
    ASSERT_NE(bstr, nullptr);
    EXPECT_EQ(SysStringLen(reinterpret_cast<BSTR>(bstr)), c.expected.size() - 1) << name;
    uint32_t byte_length = 0;  // the length in front of the text counts bytes
    std::memcpy(&byte_length, reinterpret_cast<const char*>(bstr) - 4, 4);
    EXPECT_EQ(byte_length, 2 * (c.expected.size() - 1)) << name;
    EXPECT_EQ(Units(bstr, bstr + c.expected.size()), c.expected) << name;
    SysFreeString(reinterpret_cast<BSTR>(bstr));
  }
  lSetBstr_A(nullptr, "ignored");
}

TEST(WideText, CopiesUtf16AsAnsiCutAtSize) {
  const Units& word = kWideWord;
  const Units fitted = {0x0141, 0x00F3, 'd', 0x017A, 0x4E00, 0};  // "Łódź" and a CJK sign
  struct Case {
    const Units* src;
    int32_t size;
    std::string expected;
  };
  const Case cases[] = {
      {&word, 100, kAnsiWord}, {&word, 8, kAnsiWord}, {&word, 7, "Gr\xFC\xDF" "e "},
      {&word, 3, "Gr"},        {&word, 1, ""},        {&fitted, 10, "L\xF3" "dz?"},
      {nullptr, 10, ""},
  };
  for (const Case& c : cases) {
    std::vector<char> dest(c.expected.size() + 2, '#');
    const LEBASE32_WCHAR* src = c.src != nullptr ? c.src->data() : nullptr;
    EXPECT_EQ(lstrcpyn_U2A(dest.data(), src, c.size), dest.data());
    EXPECT_EQ(std::string(dest.data()), c.expected) << "size " << c.size;
    EXPECT_EQ(dest[c.expected.size() + 1], '#') << "size " << c.size;
  }
  for (int32_t size : {0, -1}) {  // nothing written, not even the terminator
    char dest[3] = {'#', '#', '#'};
    EXPECT_EQ(lstrcpyn_U2A(dest, word.data(), size), dest);
    EXPECT_EQ(std::string(dest, 3), "###") << "size " << size;
  }
}

}  // namespace
