// A controller that falls silent, trickles its replies byte by byte or floods the line: the
// panel never crashes, shows no position it was not sent, keeps its memory, and shows the right
// position again once a sane controller answers. (One that dies: ControllerRecoveryTest.)

#include "tests/app/SimulatorLog.h"
#include "tests/faults/PollingPanel.h"
#include "tests/faults/ProcessMemory.h"
#include "widgets/ErrorDisplay.h"

namespace {

using ControllerFaults = PollingPanelTest;

const QString initialText = QStringLiteral("0");
// The echo of the report "AZ=330  EL=045" CR LF.
const QString report = QStringLiteral("65 90 61 51 51 48 32 32 69 76 61 48 52 53 13 10 ");

TEST_F(ControllerFaults, ASilentControllerIsPolledOnAndNothingIsShownUntilASaneOneAnswers) {
  Start({"--silent"});
  EXPECT_EQ(WaitForPolls(LogPath(), 4).size(), 4u);
  EXPECT_EQ(form->Echoes().LineCount(), 1) << "nothing was read";
  EXPECT_EQ(form->Label6->text(), initialText);
  EXPECT_EQ(form->Label7->text(), initialText);
  EXPECT_TRUE(ShowsNoPointer(form->Image1, "Windrose_AZ.jpg"));
  EXPECT_TRUE(ShowsNoPointer(form->Image2, "Windrose_EL.jpg"));
  EXPECT_TRUE(messages.empty());

  StartSimulator({});
  ChoosePortAgain();
  EXPECT_TRUE(WaitForReadOuts(ReadOut(kAzimuth), ReadOut(kElevation)));
  EXPECT_FALSE(ShowsNoPointer(form->Image1, "Windrose_AZ.jpg"));
  EXPECT_FALSE(ShowsNoPointer(form->Image2, "Windrose_EL.jpg"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(ControllerFaults, RepliesTricklingInByteByByteAreReadWhole) {
  Start({"--split", "1", "--split-delay", "15"});
  ASSERT_TRUE(WaitForEchoLines(3));
  const QStringList echoes = form->Echoes().Text().split('\n');
  for (qsizetype i = 1; i < echoes.size(); ++i) {
    EXPECT_EQ(echoes[i], report) << i;
  }
  EXPECT_EQ(form->Label6->text(), ReadOut(kAzimuth));
  EXPECT_EQ(form->Label7->text(), ReadOut(kElevation));
  EXPECT_TRUE(messages.empty());
}

TEST_F(ControllerFaults, TenMebibytesOfRandomBytesNeitherCrashNorMisleadNorHoldMemory) {
  ResetPeakResident();
  const int64_t before = ResidentMiB();
  Start({"--flood", std::to_string(10 << 20), "--seed", "7"});
  // The flood comes first; the replies to the polls meanwhile follow it.
  // Some seconds of work for the window on a loaded machine: patience to match.
  EXPECT_TRUE(WaitForReadOuts(ReadOut(kAzimuth), ReadOut(kElevation), 3 * kPatience));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(shownLeft, (std::set<QString>{initialText, ReadOut(kAzimuth)}));
  EXPECT_EQ(shownRight, (std::set<QString>{initialText, ReadOut(kElevation)}));
  const int64_t growth = PeakResidentMiB() - before;
  RecordProperty("PeakGrowthMiB", static_cast<int>(growth));
  EXPECT_LT(growth, 64) << "MiB above the resident size before the start";
}

}  // namespace
