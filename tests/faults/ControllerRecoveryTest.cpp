// A controller that goes away and comes back, or falls silent and speaks again: the panel
// shows the positions as old (grey read-outs and hands, a hint since when), opens the port
// again by itself without a word, and shows them as current with the first report.

#include <signal.h>

#include <chrono>

#include "app/ReadOutColours.h"
#include "app/RemoteControl.h"
#include "tests/app/PanelInput.h"
#include "tests/app/SimulatorLog.h"
#include "tests/faults/PollingPanel.h"
#include "tests/serial/support/ProcessCounts.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
using ControllerRecovery = PollingPanelTest;

constexpr milliseconds kPollInterval{500};
const QString kHintStart = QStringLiteral("no answer from the controller since ");

QColor readOutColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

int msSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<milliseconds>(Clock::now() - start).count());
}

// The milliseconds from the simulator's start to the first poll it logged; -1 without one.
int firstPollMs(const std::string& logPath) {
  if (WaitForPolls(logPath, 1).empty()) return -1;
  return static_cast<int>(LoggedPollTimes(logPath).front());
}

TEST_F(ControllerRecovery, AControllerThatDiesIsShownOldAndPolledAgainByItselfWhenItIsBack) {
  Start({});
  ASSERT_TRUE(WaitForReadOuts(ReadOut(kAzimuth), ReadOut(kElevation)));
  EXPECT_FALSE(form->PositionsStale());
  EXPECT_EQ(readOutColour(form->Label6), PositionGreen());

  ASSERT_TRUE(simulator->Stop(SIGKILL).has_value());
  DanglePortLink("COM1");
  const Clock::time_point gone = Clock::now();
  ASSERT_TRUE(WaitWatching([&] { return form->PortLost(); }));
  RecordProperty("LostShownMs", msSince(gone));
  EXPECT_TRUE(form->PositionsStale()) << "at once, not three intervals later";
  EXPECT_FALSE(form->SioComPort1.Open());
  for (QLabel* readOut : {form->Label6, form->Label7}) {
    EXPECT_EQ(readOutColour(readOut), StaleGrey());
    EXPECT_TRUE(readOut->toolTip().startsWith(kHintStart)) << readOut->toolTip().toStdString();
    EXPECT_TRUE(readOut->toolTip().contains("COM1 went away")) << readOut->toolTip().toStdString();
  }
  EXPECT_TRUE(form->Image1->PointerStale());
  EXPECT_TRUE(form->Image2->PointerStale());
  EXPECT_EQ(form->Label6->text(), ReadOut(kAzimuth)) << "the last position, shown as old";
  EXPECT_FALSE(form->Remote()->CurrentPositions().has_value()) << "nor handed to the network";

  // Back, on a pseudo-terminal of its own behind the same link.
  StartSimulator({"--az", "200", "--el", "10"});
  ASSERT_TRUE(WaitForReadOuts(ReadOut(200), ReadOut(10)));
  EXPECT_TRUE(WaitWatching([&] { return !form->PositionsStale(); }));
  const int firstPoll = firstPollMs(LogPath());
  RecordProperty("FirstPollAfterReturnMs", firstPoll);
  EXPECT_GE(firstPoll, 0);
  EXPECT_LT(firstPoll, 2000) << "one try a second, and a poll as soon as the port opened";
  EXPECT_EQ(readOutColour(form->Label6), PositionGreen());
  EXPECT_TRUE(form->Label6->toolTip().isEmpty());
  EXPECT_FALSE(form->Image1->PointerStale());
  EXPECT_TRUE(messages.empty()) << messages.front().Text.toStdString();
}

TEST_F(ControllerRecovery,
       ASilentControllerIsShownOldAfterThreeIntervalsAndCurrentWithItsNextReport) {
  Start({});
  ASSERT_TRUE(WaitForReadOuts(ReadOut(kAzimuth), ReadOut(kElevation)));
  // Frozen, the simulator answers nothing; the port stays open.
  ASSERT_EQ(kill(simulator->Pid(), SIGSTOP), 0);
  const Clock::time_point frozen = Clock::now();
  bool freshWhenGrey = true;
  ASSERT_TRUE(WaitWatching([&] {
    if (!form->PositionsStale()) return false;
    freshWhenGrey = form->Freshness().IsFresh(kPollInterval);
    return true;
  }));
  RecordProperty("StaleShownMs", msSince(frozen));
  EXPECT_FALSE(freshWhenGrey) << "grey exactly when the network hears of no position either";
  EXPECT_TRUE(form->SioComPort1.Open());
  EXPECT_FALSE(form->PortLost());
  EXPECT_EQ(readOutColour(form->Label6), StaleGrey());
  const QString hint = form->Label6->toolTip();
  EXPECT_TRUE(hint.startsWith(kHintStart)) << hint.toStdString();
  EXPECT_EQ(hint.size(), kHintStart.size() + 8) << "hh:mm:ss: " << hint.toStdString();

  ASSERT_EQ(kill(simulator->Pid(), SIGCONT), 0);
  EXPECT_TRUE(WaitWatching([&] { return !form->PositionsStale(); }));
  EXPECT_EQ(readOutColour(form->Label6), PositionGreen());
  EXPECT_EQ(readOutColour(form->Label7), PositionGreen());
  EXPECT_FALSE(form->Image2->PointerStale());
  EXPECT_TRUE(messages.empty());
}

TEST_F(ControllerRecovery, AControllerSilentFromTheStartLeavesTheReadOutsGreyWithTheirZero) {
  Start({"--silent"});
  ASSERT_TRUE(WaitWatching([&] { return form->PositionsStale(); }));
  EXPECT_EQ(form->Label6->text(), QStringLiteral("0"));
  EXPECT_EQ(readOutColour(form->Label6), StaleGrey());
  EXPECT_TRUE(form->Label6->toolTip().startsWith(kHintStart));
  EXPECT_TRUE(ShowsNoPointer(form->Image1, "Windrose_AZ.jpg")) << "no position, no hand";
  EXPECT_TRUE(messages.empty());
}

TEST_F(ControllerRecovery, TheOperatorsChoiceOfAPortEndsTheRetrying) {
  Start({});
  ASSERT_TRUE(WaitForReadOuts(ReadOut(kAzimuth), ReadOut(kElevation)));
  form->SetReopenInterval(milliseconds(20));
  ASSERT_TRUE(simulator->Stop(SIGKILL).has_value());
  DanglePortLink("COM1");
  ASSERT_TRUE(WaitWatching([&] { return form->PortLost(); }));
  PickItem(form->ComboBox1, 1);
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError),
            std::vector<QString>{QStringLiteral("Port COM2 cannot be opened.")});
  EXPECT_FALSE(form->PortLost());
  EXPECT_FALSE(form->Label6->toolTip().contains("went away"));
  EXPECT_TRUE(form->PositionsStale()) << "the positions are still old";
  // COM1 comes back, but the operator chose COM2: many retry intervals pass without COM1.
  StartSimulator({});
  EXPECT_FALSE(WaitWatching([&] { return form->SioComPort1.Open(); }, milliseconds(400)));
  EXPECT_EQ(form->SioComPort1.ComNumber(), 2);
}

TEST_F(ControllerRecovery, TwentyControllersComeAndGoAndThePanelFollowsEveryOneAndKeepsNothing) {
  Start({});
  ASSERT_TRUE(WaitForReadOuts(ReadOut(kAzimuth), ReadOut(kElevation)));
  form->SetReopenInterval(milliseconds(50));
  constexpr int kWarmUp = 3;
  constexpr int kCycles = 20;
  ProcessFootprint before;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    if (cycle == kWarmUp) before = TakeFootprint();
    ASSERT_TRUE(simulator->Stop(SIGKILL).has_value());
    DanglePortLink("COM1");
    ASSERT_TRUE(WaitWatching([&] { return form->PortLost(); })) << cycle;
    const int azimuth = 100 + cycle;
    StartSimulator({"--az", std::to_string(azimuth)});
    ASSERT_TRUE(WaitWatching([&] {
      return !form->PositionsStale() && form->Label6->text() == ReadOut(azimuth);
    })) << cycle;
  }
  EXPECT_TRUE(WaitWatching([&] { return ThreadCount() == before.Threads; }));
  EXPECT_EQ(DescriptorCount(), before.Descriptors);
  const int64_t growth = ResidentKiB() - before.ResidentKiB;
  RecordProperty("ResidentGrowthKiB", static_cast<int>(growth));
  EXPECT_LT(growth, 4096) << "KiB over " << kCycles - kWarmUp << " cycles";
  EXPECT_TRUE(messages.empty());
}

}  // namespace
