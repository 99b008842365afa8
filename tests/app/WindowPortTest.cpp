// Opening the serial port at start-up and when the operator chooses another port number.

#include <QLineEdit>
#include <QTest>

#include <filesystem>

#include "tests/app/PanelFixture.h"
#include "tests/app/PanelInput.h"
#include "tests/tools/SimulatorProcess.h"

namespace {

class WindowPort : public PanelTest {
 protected:
  // A simulator behind the port name "COM<number>" of the start-up directory.
  std::unique_ptr<SimulatorProcess> SimulatorOn(int number) {
    return std::make_unique<SimulatorProcess>(
        std::vector<std::string>{"--link", Path("COM" + std::to_string(number))});
  }
};

TEST_F(WindowPort, AFirstStartTriesComOneAfterReportingTheMissingLanguageFile) {
  const auto form = StartPanel();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].Text, kLanguageFileMissing);
  EXPECT_EQ(messages[1].Kind, MessageBoxKind::ProgramError);
  EXPECT_EQ(messages[1].Text, "Port COM1") << "no language text to follow it";
  EXPECT_EQ(form->SioComPort1.ComNumber(), 1);
  EXPECT_EQ(form->SioComPort1.Baud(), 9600);
  EXPECT_FALSE(form->SioComPort1.Open());
  EXPECT_FALSE(form->Timer1->Enabled());
}

TEST_F(WindowPort, APortThatCannotBeOpenedIsReportedWithTheLanguageText) {
  CopyLanguageFile();
  WriteSettings({"7", "DE", "1000", "10", "0", "0", "2", "50", "50"});
  std::filesystem::create_symlink(Path("no-such-port"), Path("COM7"));
  const auto form = StartPanel();
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError),
            (std::vector<QString>{"Port COM7 kann nicht geöffnet werden."}));
  EXPECT_FALSE(form->SioComPort1.Open());
  EXPECT_FALSE(form->Timer1->Enabled());
}

TEST_F(WindowPort, AStartWithAWorkingPortOpensItAndPolls) {
  const auto simulator = SimulatorOn(1);
  const auto form = StartPanel();
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError), std::vector<QString>{kLanguageFileMissing});
  EXPECT_TRUE(form->SioComPort1.Open());
  EXPECT_TRUE(form->Timer1->Enabled());
}

TEST_F(WindowPort, TypingTwelveSavesAndReopensTwiceFirstAsComOneThenAsComTwelve) {
  CopyLanguageFile();
  WriteSettings({"5", "EN", "1000", "10", "0", "0", "2", "50", "50"});
  std::filesystem::create_symlink(Path("no-such-port"), Path("COM5"));
  const auto com1 = SimulatorOn(1);
  const auto com12 = SimulatorOn(12);
  const auto form = StartPanel();
  ASSERT_FALSE(form->SioComPort1.Open());
  ASSERT_FALSE(form->Timer1->Enabled());

  TypeInto(form->ComboBox1, "1");
  EXPECT_EQ(SettingsLines().at(0), "1");
  EXPECT_EQ(form->SioComPort1.ComNumber(), 1);
  EXPECT_TRUE(form->SioComPort1.Open());
  EXPECT_TRUE(form->Timer1->Enabled());

  QTest::keyClicks(form->ComboBox1->lineEdit(), "2");
  EXPECT_EQ(SettingsLines().at(0), "12");
  EXPECT_EQ(form->SioComPort1.ComNumber(), 12);
  EXPECT_TRUE(form->SioComPort1.Open());
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError).size(), 1u) << "only COM5 failed";
}

TEST_F(WindowPort, ChoosingAPortThatFailsStopsPolling) {
  CopyLanguageFile();
  const auto com1 = SimulatorOn(1);
  const auto form = StartPanel();
  ASSERT_TRUE(form->Timer1->Enabled());
  std::filesystem::create_symlink(Path("no-such-port"), Path("COM3"));
  messages.clear();
  PickItem(form->ComboBox1, 2);
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError),
            (std::vector<QString>{"Port COM3 cannot be opened."}));
  EXPECT_FALSE(form->SioComPort1.Open());
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_EQ(SettingsLines().at(0), "3");
}

TEST_F(WindowPort, ClearingThePortBoxIsRejectedAndSelectsComOne) {
  CopyLanguageFile();
  WriteSettings({"1", "EN", "1000", "10", "0", "0", "2", "50", "50"});
  const auto com1 = SimulatorOn(1);
  const auto form = StartPanel();
  const std::string before = ReadFile("QV_M.ini");
  messages.clear();
  ClearBox(form->ComboBox1);
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError), (std::vector<QString>{"Invalid input \"\" !"}));
  EXPECT_EQ(form->ComboBox1->currentText(), "1");
  EXPECT_TRUE(form->SioComPort1.Open()) << "the port stays as it was";
  EXPECT_EQ(ReadFile("QV_M.ini"), before);
}

TEST_F(WindowPort, ExitClosesThePortStopsPollingPausesAndEnds) {
  const auto com1 = SimulatorOn(1);
  auto form = StartPanel();
  ASSERT_TRUE(form->SioComPort1.Open());
  QTest::mouseClick(form->Button1, Qt::LeftButton);
  EXPECT_FALSE(form->SioComPort1.Open());
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_EQ(pauses, (std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(500)}));
  EXPECT_EQ(processEnds, 1);
}

}  // namespace
