// The settings dialog under Wine, driven as a user would: a driver thread
// finds the open dialog, reads and clicks its controls and ends it.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "include/lerv32.h"
#include "support/test_env.h"

namespace {

constexpr auto kPatience = std::chrono::seconds(60);  // Wine under an emulator starts slowly
const int kSettingControls[] = {101, 102, 103, 104, 301, 302, 303};

enum class Ending { kOk, kCancelButton, kEscape, kCloseBox };

// One letter per setting control: x ticked, o clear; upper case when disabled.
std::string ControlsOf(HWND dialog) {
  std::string view;
  for (int id : kSettingControls) {
    HWND control = GetDlgItem(dialog, id);
    const bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const char letter = checked ? 'x' : 'o';
    view += IsWindowEnabled(control) ? letter : static_cast<char>(letter - 'a' + 'A');
  }
  return view;
}

bool Matches(const std::string& view, const std::string& pattern) {  // '?' matches any letter
  if (view.size() != pattern.size()) return false;
  for (size_t i = 0; i < view.size(); ++i) {
    if (pattern[i] != '?' && pattern[i] != view[i]) return false;
  }
  return true;
}

template <typename Predicate>
bool WaitUntil(Predicate done) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(50);
  }
  return true;
}

void End(HWND dialog, Ending ending) {
  switch (ending) {
    case Ending::kOk: SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); break;
    case Ending::kCancelButton: SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); break;
    case Ending::kEscape: PostMessageA(GetDlgItem(dialog, 101), WM_KEYDOWN, VK_ESCAPE, 0); break;
    case Ending::kCloseBox: PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
  }
}

// The test script (windows_dialog_test.sh) photographs the screen when asked:
// LERV32_DIALOG_SCREENSHOT names the folder of the request.
void AskForScreenshot() {
  const std::string folder = testenv::GetEnv("LERV32_DIALOG_SCREENSHOT");
  if (folder.empty()) return;
  const std::filesystem::path done = std::filesystem::path(folder) / "shot.done";
  testenv::WriteText(std::filesystem::path(folder) / "shot.request", "");
  if (!WaitUntil([&] { return std::filesystem::exists(done); })) ADD_FAILURE() << "no screenshot taken";
}

struct Observed {
  bool found = false;
  bool ended_in_time = false;
  std::string opened, after_clicks;
  int32_t second_dialog = 0;
};

BOOL CALLBACK PostClose(HWND window, LPARAM) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

// Opens the dialog; the driver thread reads it, clicks clicks and ends it.
// A dialog the driver does not recognise is closed all the same.
int32_t RunDialog(const std::vector<int>& clicks, Ending ending, Observed& seen, bool screenshot = false) {
  const DWORD dialog_thread = GetCurrentThreadId();
  std::thread driver([&] {
    HWND dialog = nullptr;
    seen.found = WaitUntil([&] {
      dialog = FindWindowA("#32770", "Datenbankeinstellungen");
      return dialog != nullptr && IsWindowVisible(dialog);
    });
    if (!seen.found) {
      EnumThreadWindows(dialog_thread, PostClose, 0);
      return;
    }
    seen.opened = ControlsOf(dialog);
    // A second dialog while this one is open cannot be had.
    seen.second_dialog = rv_OdbcSettingsDialog(nullptr);
    if (screenshot) {
      // Painted whole before the picture: a dialog just shown may still be
      // drawing its last controls.
      RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      Sleep(300);
      AskForScreenshot();
    }
    for (int id : clicks) SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    seen.after_clicks = ControlsOf(dialog);
    End(dialog, ending);
    seen.ended_in_time = WaitUntil([&] { return !IsWindow(dialog); });
    if (!seen.ended_in_time) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  const int32_t result = rv_OdbcSettingsDialog(nullptr);
  driver.join();
  return result;
}

std::string Store(int oem, int enabled, int maximum, int append, int errors) {
  return "LEXO32_OemConvert=" + std::to_string(oem) + "\nLEXO32_ExSQL_Enabled=" + std::to_string(enabled) +
         "\nLEXO32_ExSQL_Maximum=" + std::to_string(maximum) + "\nLEXO32_ExSQL_Append=" +
         std::to_string(append) + "\nLEXO32_Display_Errors=" + std::to_string(errors) + "\n";
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  // Puts the settings of store into the process: loaded when the dialog
  // opens, kept by Abbrechen.
  void LoadIntoProcess(const std::string& store) {
    testenv::WriteText(store_, store);
    Observed seen;
    EXPECT_EQ(RunDialog({}, Ending::kCancelButton, seen), 0);
    std::filesystem::remove(store_);
  }

  testenv::TempDir dir_;
  const std::string store_ = dir_.File("settings.conf");
  testenv::ScopedEnv named_{"LEBASE32_SETTINGS", store_};
};

TEST_F(SettingsDialogTest, ShowsEditsAndKeepsTheSettingsAsTheButtonsSay) {
  struct Case {
    const char* name;
    std::optional<std::string> loaded;  // in the process before the dialog opens
    std::optional<int> oem_convert;     // set by rv_SetOemConvert before
    std::optional<std::string> store;   // the store as the dialog opens
    std::vector<int> clicks;
    Ending ending;
    std::string opened, after_clicks;   // ControlsOf, '?' for any
    int32_t result;
    std::optional<std::string> stored;  // the store afterwards; none: as before
    int32_t oem_after, procedures_after;
    std::string reopened;               // with procedures switched on, empty store; "" not opened
  };
  const Case cases[] = {
      {"procedures off in the store: cleared and disabled; ticking 101 and OK stores 1,1,1", {}, {},
       Store(1, 0, 2, 1, 1), {101}, Ending::kOk, "oXOOoxx", "xoxoxxx", 1, Store(1, 1, 1, 1, 1), 1, 1, ""},
      {"procedures off, other levels stored: the same, and Abbrechen keeps the store", {}, {},
       Store(0, 0, 1, 0, 0), {101, 302}, Ending::kCancelButton, "oXOOooo", "xoxoxxo", 0, {}, 0, 0, ""},
      {"every control edited, then Abbrechen", {}, {}, Store(0, 1, 2, 1, 1), {103, 301, 302, 303},
       Ending::kCancelButton, "xooxxox", "xoxooxo", 0, {}, 0, 1, ""},
      {"Escape with an empty store gives back the settings the dialog opened with",
       Store(0, 0, 2, 1, 1), {}, {}, {101, 302}, Ending::kEscape, "oXOOoox", "xoxoxxx", 0, {}, 0, 0,
       "xooxxox"},
      {"OemConvert 0 in the process, 1 in the store: the store's", {}, 0, "LEXO32_OemConvert=1\n", {},
       Ending::kCloseBox, "?????x?", "?????x?", 0, {}, 1, 1, ""},
      {"OemConvert 0 in the process, nothing stored: the process's", {}, 0, {}, {}, Ending::kCloseBox,
       "?????o?", "?????o?", 0, {}, 0, 1, ""},
      {"level 5 selects no button; 104 and OK write all five", Store(0, 1, 5, 0, 1), {}, {}, {104},
       Ending::kOk, "xooooox", "xooxoox", 1, Store(0, 1, 2, 0, 1), 0, 1, ""},
      {"102 and OK store level 0", {}, {}, Store(1, 1, 1, 1, 1), {102}, Ending::kOk, "xoxoxxx", "xxooxxx", 1,
       Store(1, 1, 0, 1, 1), 1, 1, ""},
  };
  bool screenshot = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rv_SetExtendedLevel(1);
    if (c.loaded) LoadIntoProcess(*c.loaded);
    if (c.oem_convert) rv_SetOemConvert(*c.oem_convert);
    if (c.store) testenv::WriteText(store_, *c.store);
    const std::string before = c.store.value_or("");
    Observed seen;
    EXPECT_EQ(RunDialog(c.clicks, c.ending, seen, screenshot), c.result);
    screenshot = false;
    ASSERT_TRUE(seen.found) << "the dialog did not open";
    EXPECT_TRUE(seen.ended_in_time) << "the dialog stayed open";
    EXPECT_EQ(seen.second_dialog, -1);
    EXPECT_PRED2(Matches, seen.opened, c.opened);
    EXPECT_PRED2(Matches, seen.after_clicks, c.after_clicks);
    EXPECT_EQ(testenv::ReadText(store_), c.stored.value_or(before));
    EXPECT_EQ(std::filesystem::exists(store_), c.store.has_value() || c.stored.has_value());
    EXPECT_EQ(rv_GetOemConvert(), c.oem_after);
    EXPECT_EQ(rv_GetExtendedLevel(), c.procedures_after);
    if (!c.reopened.empty()) {
      rv_SetExtendedLevel(1);
      std::filesystem::remove(store_);
      EXPECT_EQ(RunDialog({}, Ending::kCloseBox, seen), 0);
      EXPECT_EQ(seen.opened, c.reopened) << "procedure level or append not given back";
    }
    std::filesystem::remove(store_);
  }
}

TEST(SettingsDialogWindowTest, AParentThatIsNoWindowGivesMinusOne) {
  EXPECT_EQ(rv_OdbcSettingsDialog(reinterpret_cast<LERV32_HWND>(0x7ffe1234)), -1);
}

}  // namespace
