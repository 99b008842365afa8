// The panel on a rotator at a remote site: its COMn link names Debian's ser2net, in front of
// the simulator's pseudo-terminal, as a raw TCP port and as an RFC 2217 server; a server that
// goes away and comes back.

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>

#include "tests/app/PanelFixture.h"
#include "tests/app/SimulatorLog.h"
#include "tests/tools/LoopbackPort.h"
#include "tests/tools/Ser2netProcess.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TestPatience.h"
#include "tests/tools/UnansweredListener.h"

namespace {

using Accepter = Ser2netProcess::Accepter;

// The panel on COM3, a link to ser2net in front of the simulator, polling every 500 ms.
class PanelBehindServer : public PanelTest {
 protected:
  std::unique_ptr<TForm1> StartBehind(Accepter accepter) {
    CopyLanguageFile();
    WriteSettings({"3", "EN", "500", "10", "0", "0", "2", "50", "50"});
    simulator = std::make_unique<SimulatorProcess>(
        std::vector<std::string>{"--az", "123", "--el", "45", "--log", log});
    ser2net = std::make_unique<Ser2netProcess>(simulator->ClientPath(), accepter);
    std::filesystem::create_symlink(ser2net->Url(), Path("COM3"));
    return StartPanel();
  }

  const std::string log = Path("commands.log");
  std::unique_ptr<SimulatorProcess> simulator;
  std::unique_ptr<Ser2netProcess> ser2net;
};

class WindowNetworkPort : public PanelBehindServer, public testing::WithParamInterface<Accepter> {};
class WindowUnreachableServer : public PanelBehindServer {};

TEST_P(WindowNetworkPort, ThePanelPollsAndCommandsTheRotatorThroughTheServer) {
  const auto form = StartBehind(GetParam());
  ASSERT_TRUE(form->SioComPort1.Open());
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return form->Label6->text() == "123°" && form->Label7->text() == "45°"; },
      static_cast<int>(kPatience.count())));
  EXPECT_GE(WaitForPolls(log, 2).size(), 2u);
  form->KtNumEdit1->SetValue(200);
  QTest::mouseClick(form->Button2, Qt::LeftButton);
  EXPECT_EQ(WaitForCommands(log, 1), std::vector<std::string>{HexBytes("M200\r")});
  // The read-out follows the rotator as it turns.
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->Label6->text() != "123°"; },
                              static_cast<int>(kPatience.count())));
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError), std::vector<QString>{});
}

TEST_P(WindowNetworkPort, AServerThatGoesAwayIsALostPortThePanelOpensAgainWhenItIsBack) {
  const auto form = StartBehind(GetParam());
  const int patience = static_cast<int>(kPatience.count());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->Label6->text() == "123°"; }, patience));

  ser2net->Stop();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->PortLost(); }, patience));
  EXPECT_FALSE(form->SioComPort1.Open());
  EXPECT_TRUE(form->PositionsStale());
  EXPECT_TRUE(form->Label6->toolTip().contains("COM3 went away")) << "while it is away";

  ser2net->Start();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return form->SioComPort1.Open() && !form->PortLost() && !form->PositionsStale(); },
      patience));
  form->KtNumEdit1->SetValue(200);
  QTest::mouseClick(form->Button2, Qt::LeftButton);
  EXPECT_EQ(WaitForCommands(log, 1), std::vector<std::string>{HexBytes("M200\r")})
      << "the line works again";
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError), std::vector<QString>{});
}

INSTANTIATE_TEST_SUITE_P(Accepters, WindowNetworkPort,
                         testing::Values(Accepter::RawTcp, Accepter::Rfc2217),
                         [](const auto& info) {
                           return info.param == Accepter::Rfc2217 ? "Rfc2217" : "RawTcp";
                         });

TEST_F(WindowUnreachableServer, IsAPortThatCannotBeOpened) {
  CopyLanguageFile();
  WriteSettings({"4", "EN", "1000", "10", "0", "0", "2", "50", "50"});
  std::filesystem::create_symlink("tcp://127.0.0.1:" + std::to_string(FreeLoopbackPort()),
                                  Path("COM4"));
  const auto form = StartPanel();
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError),
            std::vector<QString>{"Port COM4 cannot be opened."});
  EXPECT_FALSE(form->SioComPort1.Open());
}

// The longest the event loop went without running a timer of its own, since the last Reset.
class LoopGaps {
 public:
  LoopGaps() {
    QObject::connect(&tick_, &QTimer::timeout,
                     [this] { longest_ = std::max(longest_, clock_.restart()); });
    clock_.start();
    tick_.start(10);
  }
  qint64 LongestMs() const { return longest_; }
  void Reset() {
    clock_.restart();
    longest_ = 0;
  }

 private:
  QTimer tick_;
  QElapsedTimer clock_;
  qint64 longest_ = 0;
};

TEST_F(WindowUnreachableServer, ASiteGoneDarkHoldsTheWindowOnceThenIsProbedAndOpenedWhenBack) {
  const auto form = StartBehind(Accepter::RawTcp);
  const int patience = static_cast<int>(kPatience.count());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->Label6->text() == "123°"; }, patience));
  form->SetReopenInterval(std::chrono::milliseconds(100));

  // The server's port now takes no connections and answers none.
  ser2net->Stop();
  auto dark = std::make_unique<UnansweredListener>(ser2net->Port());
  ASSERT_TRUE(dark->Full());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->PortLost(); }, patience));
  LoopGaps gaps;
  // The first try waits out the open's time-out on the window's thread.
  ASSERT_TRUE(QTest::qWaitFor([&] { return gaps.LongestMs() >= 2000; }, patience));
  gaps.Reset();
  // Ten tries later the window has not been held again.
  QTest::qWait(1000);
  EXPECT_LT(gaps.LongestMs(), 500);
  EXPECT_TRUE(form->PortLost());

  dark.reset();
  ser2net->Start();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return form->SioComPort1.Open() && !form->PortLost() && !form->PositionsStale(); },
      patience));
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError), std::vector<QString>{});
}

}  // namespace
