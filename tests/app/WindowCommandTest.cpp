// Commands from the buttons, as the simulator receives them.

#include <QTest>

#include <chrono>

#include "app/BlockingPause.h"
#include "tests/app/PanelFixture.h"
#include "tests/app/PanelInput.h"
#include "tests/app/SimulatorLog.h"
#include "tests/tools/SimulatorProcess.h"

namespace {

using std::chrono::milliseconds;

class WindowCommands : public PanelTest {
 protected:
  void SetUp() override {
    CopyLanguageFile();
    // Slow polling: the queries are filtered out anyway, fewer of them keep the log short.
    WriteSettings({"1", "EN", "5000", "10", "0", "0", "2", "50", "50"});
    simulator = std::make_unique<SimulatorProcess>(
        std::vector<std::string>{"--link", Path("COM1"), "--log", log});
    form = StartPanel();
    ASSERT_TRUE(form->SioComPort1.Open());
    messages.clear();
  }

  void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  const std::string log = Path("commands.log");
  std::unique_ptr<SimulatorProcess> simulator;
  std::unique_ptr<TForm1> form;
};

TEST_F(WindowCommands, GoButtonsSendTheTargetsAsThreeDigitFields) {
  form->KtNumEdit1->SetValue(0);
  click(form->Button2);
  form->KtNumEdit1->SetValue(45);
  form->KtNumEdit2->SetValue(7);
  click(form->Button4);
  form->KtNumEdit2->SetValue(90);
  click(form->Button3);
  form->KtNumEdit1->SetValue(12.9L);
  click(form->Button2);
  EXPECT_EQ(WaitForCommands(log, 4),
            (std::vector<std::string>{"4D 30 30 30 0D", "57 30 34 35 20 30 30 37 0D",
                                      "4D 42 30 39 30 0D", "4D 30 31 32 0D"}));
  EXPECT_EQ(pauses, std::vector<milliseconds>(4, milliseconds(200)));
  EXPECT_TRUE(form->Timer1->Enabled());
}

TEST_F(WindowCommands, ParkButtonsCopyTheParkPositionsFirst) {
  form->KtNumEdit3->SetValue(180);
  form->KtNumEdit4->SetValue(45.5L);
  click(form->Button8);
  EXPECT_EQ(form->KtNumEdit1->text(), "180");
  click(form->Button14);
  EXPECT_EQ(form->KtNumEdit2->text(), "45");
  form->KtNumEdit3->SetValue(5);
  click(form->Button10);
  EXPECT_EQ(WaitForCommands(log, 3),
            (std::vector<std::string>{"4D 31 38 30 0D", "4D 42 30 34 35 0D",
                                      "57 30 30 35 20 30 34 35 0D"}));
}

TEST_F(WindowCommands, TurnButtonsSendAtOnceAndStopButtonsAfterThePause) {
  // What the pause sees: the command is neither built nor sent yet, and polling is off.
  std::vector<std::pair<uint8_t, bool>> seenAtPause;
  SetBlockingPause([&](milliseconds pause) {
    EXPECT_EQ(pause, milliseconds(200));
    seenAtPause.emplace_back(form->CmdBuf[0], form->Timer1->Enabled());
  });
  for (QPushButton* button : {form->Button9, form->Button11, form->Button12, form->Button13,
                              form->Button5, form->Button6, form->Button7}) {
    form->CmdBuf.fill(0);
    click(button);
  }
  EXPECT_EQ(WaitForCommands(log, 7), (std::vector<std::string>{"4C 0D", "52 0D", "44 0D", "55 0D",
                                                               "41 0D", "53 0D", "45 0D"}));
  EXPECT_EQ(seenAtPause, (std::vector<std::pair<uint8_t, bool>>(3, {0, false})));
}

TEST_F(WindowCommands, TheDefaultPauseBlocksTheCallingThreadForItsWholeTime) {
  SetBlockingPause(nullptr);
  const auto start = std::chrono::steady_clock::now();
  BlockingPause(milliseconds(200));
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(200));
}

TEST_F(WindowCommands, NothingIsWrittenWhileThePortIsClosed) {
  form->SioComPort1.SetOpen(false);
  form->Timer1->SetEnabled(false);
  click(form->Button2);
  click(form->Button6);
  click(form->Button9);
  EXPECT_TRUE(form->Timer1->Enabled()) << "every command ends with polling on";
  form->SioComPort1.SetOpen(true);
  click(form->Button11);
  EXPECT_EQ(WaitForCommands(log, 1), std::vector<std::string>{"52 0D"});
  EXPECT_TRUE(messages.empty());
}

TEST_F(WindowCommands, AFailingCommandIsShownAndPollingGoesOn) {
  // Typed and left, the field would report the text itself; set, only the command does.
  form->KtNumEdit1->setText("1E");
  click(form->Button2);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Kind, MessageBoxKind::StandardError);
  EXPECT_EQ(messages[0].Text, "'1E' is not a valid floating point value");
  EXPECT_TRUE(form->Timer1->Enabled());
  click(form->Button5);
  EXPECT_EQ(WaitForCommands(log, 1), std::vector<std::string>{"41 0D"});
}

TEST_F(WindowCommands, ATargetWithoutThreeDigitsIsRefusedWithItsText) {
  form->KtNumEdit1->SetValue(1234);
  click(form->Button2);
  form->KtNumEdit1->SetValue(10);
  form->KtNumEdit2->SetValue(-5);
  click(form->Button4);
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError),
            (std::vector<QString>{"Invalid input \"1234\" !", "Invalid input \"-5\" !"}));
  EXPECT_TRUE(form->Timer1->Enabled());
  click(form->Button7);
  EXPECT_EQ(WaitForCommands(log, 1), std::vector<std::string>{"45 0D"});
}

TEST_F(WindowCommands, ThePollQueryFollowsTheStoredAxisConfiguration) {
  PickItem(form->ComboBox3, 0);
  ASSERT_EQ(form->Timer1->Interval(), 500);
  const size_t before = WaitForPolls(log, 1).size();
  EXPECT_EQ(WaitForPolls(log, before + 1).back(), HexBytes("C2\r"));

  PickItem(form->ComboBox4, 3);
  size_t seen = LoggedPolls(log).size();
  EXPECT_EQ(WaitForPolls(log, seen + 1).back(), HexBytes("C2\r"));

  TypeInto(form->ComboBox4, "none");
  ASSERT_EQ(form->Settings.AxisConfig, -1);
  seen = LoggedPolls(log).size();
  EXPECT_EQ(WaitForPolls(log, seen + 1).back(), HexBytes("C\r"));

  PickItem(form->ComboBox4, 1);
  seen = LoggedPolls(log).size();
  EXPECT_EQ(WaitForPolls(log, seen + 1).back(), HexBytes("C\r"));
}

}  // namespace
