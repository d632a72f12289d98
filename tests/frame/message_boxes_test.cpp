// Message boxes without a screen: the default button, scripted answers and
// the log a host's tests read. On Windows the log switch alone keeps every
// box off the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/message_boxes.h"
#include "support/test_env.h"

namespace {

using lerv32::ShowMessageBox;
using testenv::ScopedEnv;

class MessageBoxTest : public ::testing::Test {
 protected:
  testenv::TempDir dir_;
  const std::string log_ = (dir_.Path() / "boxes.log").string();
  ScopedEnv log_env_{"LERV32_MSGBOX_LOG", log_};
};

TEST_F(MessageBoxTest, DefaultButtonsScriptedAnswersAndTheLog) {
  // answers: the value of LERV32_MSGBOX_ANSWERS for this box.
  struct Case { UINT type; const char* answers; int expected; } cases[] = {
      {MB_OK, "", IDOK},
      {MB_YESNO, "", IDYES},
      {MB_YESNO | MB_DEFBUTTON2, "", IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, "", IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION, "n", IDNO},
      {MB_RETRYCANCEL, "C", IDCANCEL},
      {MB_ABORTRETRYIGNORE, "I", IDIGNORE},
      {MB_YESNO, "O", IDYES},  // no OK button: the default
      {MB_DEFBUTTON3 | MB_YESNO, "", IDYES},  // no third button: the first
  };
  for (const Case& c : cases) {
    ScopedEnv answers("LERV32_MSGBOX_ANSWERS", c.answers);
    EXPECT_EQ(ShowMessageBox("Text", "Titel", c.type), c.expected) << c.type << " " << c.answers;
  }
  EXPECT_EQ(testenv::ReadLines(log_).size(), sizeof cases / sizeof cases[0]);
  // Answers are taken in order and the log holds each box.
  testenv::WriteText(log_, "");
  ScopedEnv answers("LERV32_MSGBOX_ANSWERS", "NY");
  EXPECT_EQ(ShowMessageBox("Erste\r\nZeile\tzwei", "23000", MB_YESNO), IDNO);
  EXPECT_EQ(ShowMessageBox("Zweite", "01000", MB_YESNO | MB_DEFBUTTON2), IDYES);
  EXPECT_EQ(ShowMessageBox("Dritte: ung\xfcltig", "01000", MB_YESNO | MB_DEFBUTTON2), IDNO) << "answers used up";
  EXPECT_EQ(testenv::ReadLines(log_), (std::vector<std::string>{
                                         "23000\tErste\\r\\nZeile\\tzwei\tYes/No\tNo",
                                         "01000\tZweite\tYes/No\tYes",
                                         "01000\tDritte: ung\xc3\xbcltig\tYes/No\tNo",
                                     }));
}

#if defined(_WIN32)
// A host that sets the switch through the Windows API, which the C
// runtime's copy of the environment never sees.
TEST_F(MessageBoxTest, SwitchSetThroughTheWindowsApiKeepsTheBoxOffTheScreen) {
  ScopedEnv unset_first("LERV32_MSGBOX_LOG", std::nullopt);
  ASSERT_TRUE(SetEnvironmentVariableA("LERV32_MSGBOX_LOG", log_.c_str()));
  EXPECT_EQ(ShowMessageBox("Text", "Titel", MB_OK), IDOK);
  SetEnvironmentVariableA("LERV32_MSGBOX_LOG", nullptr);
  EXPECT_EQ(testenv::ReadLines(log_).size(), 1u);
}
#endif

}  // namespace
