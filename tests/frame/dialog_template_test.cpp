// The dialog template as LERV32.dll carries it: read back from the module's
// resources and compared, control by control, with what the dialog shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Rect {
  int x, y, width, height;
  bool operator==(const Rect& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

struct Item {
  int id;
  std::wstring window_class, text;
  Rect rect;
  DWORD style;
};

struct Template {
  std::wstring caption, font;
  int point_size = 0;
  Rect rect{};
  DWORD style = 0;
  std::vector<Item> items;
};

// Reads a DLGTEMPLATE with its items: the form a DIALOG statement gives (a
// DIALOGEX one would read as garbage and fail the comparison).
class TemplateReader {
 public:
  TemplateReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}

  Template Read() {
    Template t;
    t.style = Dword();
    Dword();                   // extended style
    const int count = Word();
    t.rect = ReadRect();
    NameOrOrdinal();           // menu
    NameOrOrdinal();           // class
    t.caption = NameOrOrdinal();
    if (t.style & DS_SETFONT) {
      t.point_size = Word();
      t.font = NameOrOrdinal();
    }
    for (int i = 0; i < count && ok_; ++i) t.items.push_back(ReadItem());
    return t;
  }
  bool Ok() const { return ok_; }

 private:
  Item ReadItem() {
    Align();
    Item item{};
    item.style = Dword();
    Dword();                   // extended style
    item.rect = ReadRect();
    item.id = static_cast<int16_t>(Word());
    item.window_class = NameOrOrdinal();
    item.text = NameOrOrdinal();
    pos_ += Word();            // creation data
    return item;
  }
  Rect ReadRect() {
    Rect r;
    r.x = static_cast<int16_t>(Word());
    r.y = static_cast<int16_t>(Word());
    r.width = static_cast<int16_t>(Word());
    r.height = static_cast<int16_t>(Word());
    return r;
  }
  // A text, or an ordinal: the predefined classes by name, else "#n".
  std::wstring NameOrOrdinal() {
    const WORD first = Word();
    if (first == 0xFFFF) {
      const WORD ordinal = Word();
      if (ordinal == 0x80) return L"Button";
      if (ordinal == 0x82) return L"Static";
      return L"#" + std::to_wstring(ordinal);
    }
    std::wstring text;
    for (WORD c = first; c != 0 && ok_; c = Word()) text += static_cast<wchar_t>(c);
    return text;
  }
  WORD Word() {
    WORD value = 0;
    if (pos_ + 2 > size_) { ok_ = false; return 0; }
    std::memcpy(&value, data_ + pos_, 2);
    pos_ += 2;
    return value;
  }
  DWORD Dword() { const DWORD low = Word(); return low | (static_cast<DWORD>(Word()) << 16); }
  void Align() { pos_ = (pos_ + 3) & ~static_cast<DWORD>(3); }

  const BYTE* data_;
  DWORD size_;
  DWORD pos_ = 0;
  bool ok_ = true;
};

TEST(DialogTemplateTest, TheDatabaseSettingsTemplateIsAsTheDialogShowsIt) {
  HMODULE library = GetModuleHandleA("LERV32.dll");
  ASSERT_NE(library, nullptr);
  HRSRC found = FindResourceA(library, "DLGOPTIONSDATABASE", MAKEINTRESOURCEA(5) /* RT_DIALOG */);
  ASSERT_NE(found, nullptr) << "no dialog DLGOPTIONSDATABASE in LERV32.dll";
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(library, found)));
  TemplateReader reader(data, SizeofResource(library, found));
  const Template t = reader.Read();
  ASSERT_TRUE(reader.Ok()) << "template cut short";

  EXPECT_EQ(t.caption, L"Datenbankeinstellungen");
  EXPECT_EQ(t.font, L"MS Sans Serif");
  EXPECT_EQ(t.point_size, 8);
  EXPECT_EQ(t.rect, (Rect{63, 70, 317, 95}));
  EXPECT_EQ(t.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT));

  const DWORD child = WS_CHILD | WS_VISIBLE;
  const Item expected[] = {
      {101, L"Button", L"TRANSACT - SQL Prozeduren verwenden", {7, 7, 174, 12},
       child | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP},
      {102, L"Button", L"nur Standard - SQL verf\u00fcgbar", {7, 19, 174, 12}, child | BS_AUTORADIOBUTTON | WS_GROUP},
      {103, L"Button", L"Prozeduren je Zugriff neu aufrufen", {7, 31, 174, 12}, child | BS_AUTORADIOBUTTON},
      {104, L"Button", L"Prozeduren f\u00fcr Session vorkompilieren", {7, 43, 174, 12}, child | BS_AUTORADIOBUTTON},
      {301, L"Button", L"Anf\u00fcgen optimieren", {186, 7, 174, 12}, child | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP},
      {302, L"Button", L"Ansi Zeichensatz verwenden", {186, 19, 174, 12}, child | BS_AUTOCHECKBOX | WS_TABSTOP},
      {303, L"Button", L"ODBC Fehler best\u00e4tigen lassen", {186, 31, 174, 12}, child | BS_AUTOCHECKBOX | WS_TABSTOP},
      {-1, L"Static", L"Text", {-5, 65, 325, 3}, child | SS_ETCHEDHORZ | WS_GROUP},
      {IDOK, L"Button", L"OK", {207, 74, 50, 14}, child | BS_DEFPUSHBUTTON | WS_TABSTOP},
      {IDCANCEL, L"Button", L"Abbrechen", {261, 74, 50, 14}, child | BS_PUSHBUTTON | WS_TABSTOP},
  };
  ASSERT_EQ(t.items.size(), sizeof expected / sizeof expected[0]);
  for (size_t i = 0; i < t.items.size(); ++i) {
    const Item& got = t.items[i];
    const Item& want = expected[i];
    SCOPED_TRACE("control " + std::to_string(want.id));
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(_wcsicmp(got.window_class.c_str(), want.window_class.c_str()), 0);
    EXPECT_EQ(got.text, want.text);
    EXPECT_EQ(got.rect, want.rect);
    EXPECT_EQ(got.style, want.style) << std::hex << (got.style ^ want.style) << " differ";
  }
}

}  // namespace
