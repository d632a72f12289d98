#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "include/lebase32.h"
#include "platform/win_api.h"

namespace {

using Units = std::vector<LEBASE32_WCHAR>;

constexpr LEBASE32_WCHAR kSentinel = 0x5555;

// "Grüße €" in code page 1252 and in UTF-16.
const char kAnsiWord[] = "Gr\xFC\xDF" "e \x80";
const Units kWideWord = {'G', 'r', 0x00FC, 0x00DF, 'e', ' ', 0x20AC};

TEST(WideText, CopiesAnsiTextAsUtf16WithTerminator) {
  struct Case {
    const char* text;
    Units expected;  // terminator included
  };
  const Case cases[] = {
      {kAnsiWord, {'G', 'r', 0x00FC, 0x00DF, 'e', ' ', 0x20AC, 0}},
      {"\x81\x9F\xFF", {0x0081, 0x0178, 0x00FF, 0}},
      {"", {0}},
      {nullptr, {0}},
  };
  for (const Case& c : cases) {
    Units dest(c.expected.size() + 1, kSentinel);
    EXPECT_EQ(lstrcpy_A2U(dest.data(), c.text), dest.data());
    Units written(dest.begin(), dest.end() - 1);
    EXPECT_EQ(written, c.expected) << (c.text ? c.text : "(null)");
    EXPECT_EQ(dest.back(), kSentinel) << "wrote past the terminator";
  }
}

TEST(WideText, CopiesUtf16AsAnsiCutAtSize) {
  const Units fitted = {0x0141, 0x00F3, 'd', 0x017A, 0x4E00, 0};  // "Łódź" and a CJK sign
  const Units word = [] {
    Units w = kWideWord;
    w.push_back(0);
    return w;
  }();
  struct Case {
    const Units* src;
    int32_t size;
    std::string expected;
  };
  const Case cases[] = {
      {&word, 100, kAnsiWord},       {&word, 8, kAnsiWord},        {&word, 7, "Gr\xFC\xDF" "e "},
      {&word, 3, "Gr"},              {&word, 1, ""},               {&fitted, 10, "L\xF3" "dz?"},
      {nullptr, 10, ""},
  };
  for (const Case& c : cases) {
    std::vector<char> dest(c.expected.size() + 2, '#');
    const LEBASE32_WCHAR* src = c.src != nullptr ? c.src->data() : nullptr;
    EXPECT_EQ(lstrcpyn_U2A(dest.data(), src, c.size), dest.data());
    EXPECT_EQ(std::string(dest.data()), c.expected) << "size " << c.size;
    EXPECT_EQ(dest[c.expected.size() + 1], '#') << "size " << c.size;
  }
}

TEST(WideText, SizeBelowOneWritesNothing) {
  const Units word = {'a', 'b', 0};
  for (int32_t size : {0, -1, -1000}) {
    char dest[3] = {'#', '#', '#'};
    EXPECT_EQ(lstrcpyn_U2A(dest, word.data(), size), dest);
    EXPECT_EQ(std::string(dest, 3), "###") << "size " << size;
  }
}

TEST(WideText, EveryAnsiCharacterRoundTrips) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  Units wide(all.size() + 1);
  lstrcpy_A2U(wide.data(), all.c_str());
  std::vector<char> back(all.size() + 1, '#');
  lstrcpyn_U2A(back.data(), wide.data(), static_cast<int32_t>(back.size()));
  EXPECT_EQ(std::string(back.data()), all);
}

uint32_t BytePrefix(LEBASE32_BSTR bstr) {
  uint32_t prefix = 0;
  std::memcpy(&prefix, reinterpret_cast<const char*>(bstr) - sizeof prefix, sizeof prefix);
  return prefix;
}

void FreeBstr(LEBASE32_BSTR bstr) { SysFreeString(reinterpret_cast<BSTR>(bstr)); }

TEST(WideText, SetBstrMakesAnAutomationString) {
  struct Case {
    const char* text;
    Units expected;
  };
  const Case cases[] = {{kAnsiWord, kWideWord}, {"", {}}, {nullptr, {}}};
  for (const Case& c : cases) {
    LEBASE32_BSTR bstr = nullptr;
    lSetBstr_A(&bstr, c.text);
    ASSERT_NE(bstr, nullptr);
    EXPECT_EQ(BytePrefix(bstr), 2 * c.expected.size());
    EXPECT_EQ(Units(bstr, bstr + c.expected.size()), c.expected);
    EXPECT_EQ(bstr[c.expected.size()], 0);
    FreeBstr(bstr);
  }
  lSetBstr_A(nullptr, "ignored");
}

}  // namespace
