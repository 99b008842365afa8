// Clients that misbehave, and a controller that falls silent or goes away: the panel keeps polling,
// its memory stays bounded, and the other clients are answered.

#include <gtest/gtest.h>

#include <signal.h>

#include <atomic>
#include <list>
#include <random>

#include "tests/app/SimulatorLog.h"
#include "tests/faults/ProcessMemory.h"
#include "tests/remote/HubPanel.h"

namespace {

using Faults = HubPanelTest;

// What a run of a misbehaving client may add to the panel's resident size, MiB: far below the
// megabytes the clients send.
constexpr int64_t kGrowthMiB = 16;

TEST_F(Faults, EightClientsAtOnceAreAllAnswered) {
  Start();
  std::atomic<int> answered{0};
  const auto client = [&] {
    TcpClient connection(port, Deadline(kPatience));
    for (int round = 0; round < 50; ++round) {
      connection.Send("p\n");
      const std::string reply = connection.ReadUntil(
          [](const std::string& got) { return got.ends_with("30.00\n"); }, Deadline(kPatience));
      if (reply == "120.00\n30.00\n") ++answered;
    }
  };
  std::vector<std::future<void>> clients;
  for (int i = 0; i < 8; ++i) clients.push_back(std::async(std::launch::async, client));
  TcpClient mover(port, Deadline(kPatience));
  // To where the rotator stands: the others' answers stay the same.
  mover.Send("P 120 30\n");
  EXPECT_TRUE(RunEventsUntil([&] { return answered == 8 * 50; }));
  for (std::future<void>& done : clients) done.get();
  EXPECT_EQ(Await(mover, "\n"), "RPRT 0\n");
  EXPECT_EQ(WaitForCommands(1), std::vector<std::string>{HexBytes("W120 030\r")});
}

TEST_F(Faults, GarbageAnEndlessLineAndAClientThatNeverReadsAreDropped) {
  Start();
  ResetPeakResident();
  const int64_t before = ResidentMiB();
  TcpClient bystander(port, Deadline(kPatience));

  std::mt19937 random(14);
  std::string garbage(1 << 20, '\0');
  for (char& byte : garbage) {
    byte = static_cast<char>(random());
    // Noise that happens to hold a 'q' would end its session politely instead.
    if (byte == 'q' || byte == 'Q') byte = '\xFF';
  }
  TcpClient noisy(port, Deadline(kPatience));
  OnClientThread([&] { return noisy.Send(garbage); });
  EXPECT_TRUE(AwaitClosed(noisy));

  // Ten megabytes without a line end; the sender finds the connection closed on the way.
  TcpClient endless(port, Deadline(kPatience));
  const bool sentAll = OnClientThread([&] { return endless.Send(std::string(10 << 20, ' ')); });
  EXPECT_FALSE(sentAll);
  EXPECT_TRUE(Remote().Server().LastDrop().endsWith("a line longer than 4096 bytes"))
      << Remote().Server().LastDrop().toStdString();

  // Two megabytes of requests and not one reply read: the replies pile up until the panel
  // lets the client go.
  TcpClient deaf(port, Deadline(kPatience));
  std::string requests;
  for (int i = 0; i < (1 << 20); ++i) requests += "p\n";
  OnClientThread([&] { return deaf.Send(requests); });
  EXPECT_TRUE(RunEventsUntil([&] { return Remote().Server().Dropped() == 3; }));
  EXPECT_TRUE(Remote().Server().LastDrop().endsWith("it does not read its replies"))
      << Remote().Server().LastDrop().toStdString();

  bystander.Send("p\n");
  EXPECT_EQ(Await(bystander, "30.00\n"), "120.00\n30.00\n");
  ExpectServedAndPolling();
  EXPECT_LT(PeakResidentMiB() - before, kGrowthMiB);
  EXPECT_TRUE(messages.empty());
}

TEST_F(Faults, AClientThatDiesMidCommandLeavesNothingHalfDone) {
  Start();
  {
    TcpClient dying(port, Deadline(kPatience));
    dying.Send("P 10");
    dying.Abort();
  }
  {
    // A whole request is carried out even when its client is gone before the reply.
    TcpClient dying(port, Deadline(kPatience));
    dying.Send("P 240 20\n");
    ASSERT_TRUE(RunEventsUntil([&] { return !form->Timer1->Enabled(); }));
    dying.Abort();
  }
  TcpClient next(port, Deadline(kPatience));
  next.Send("P 250 40\n");
  EXPECT_EQ(Await(next, "\n"), "RPRT 0\n");
  EXPECT_EQ(WaitForCommands(2),
            (std::vector<std::string>{HexBytes("W240 020\r"), HexBytes("W250 040\r")}));
  EXPECT_TRUE(RunEventsUntil([&] { return Remote().Server().Clients().size() == 1; }));
  ExpectServedAndPolling();
}

TEST_F(Faults, FiveHundredConnectionsOpenedAndDroppedLeaveThePanelAsItWas) {
  Start();
  ResetPeakResident();
  const int64_t before = ResidentMiB();
  std::list<TcpClient> crowd;
  OnClientThread([&] {
    for (int i = 0; i < 500; ++i) {
      crowd.emplace_back(port, Deadline(kPatience));
      crowd.back().Send("p\n");
    }
    return true;
  });
  EXPECT_TRUE(RunEventsUntil([&] {
    return Remote().Server().Clients().size() == RemoteHub::kDefaultMaxClients &&
           Remote().Server().Refused() == 500 - static_cast<int>(RemoteHub::kDefaultMaxClients);
  })) << Remote().Server().Refused();
  crowd.clear();
  EXPECT_TRUE(RunEventsUntil([&] { return Remote().Server().Clients().empty(); }));
  ExpectServedAndPolling();
  EXPECT_LT(PeakResidentMiB() - before, kGrowthMiB);
}

TEST_F(Faults, ASilentControllerIsReportedAsATimeOutUntilItAnswersAgain) {
  Start();
  TcpClient tracker(port, Deadline(kPatience));
  // Frozen, the simulator answers nothing: three poll intervals later the position is stale.
  ASSERT_EQ(kill(simulator->Pid(), SIGSTOP), 0);
  EXPECT_TRUE(RunEventsUntil([&] {
    tracker.Send("+p\n");
    return AwaitStatus(tracker) == "get_pos:\nRPRT -5\n";
  }));
  tracker.Send("p\n");
  EXPECT_EQ(Await(tracker, "\n"), "RPRT -5\n");
  ASSERT_EQ(kill(simulator->Pid(), SIGCONT), 0);
  EXPECT_TRUE(RunEventsUntil([&] {
    tracker.Send("+p\n");
    return AwaitStatus(tracker) == "get_pos:\nAzimuth: 120.00\nElevation: 30.00\nRPRT 0\n";
  }));
}

TEST_F(Faults, AControllerThatGoesAwayIsNoPositionAndNoMoveUntilThePanelHasItBack) {
  Start();
  form->SetReopenInterval(std::chrono::milliseconds(50));
  TcpClient tracker(port, Deadline(kPatience));
  ASSERT_TRUE(simulator->Stop(SIGKILL).has_value());
  DanglePortLink("COM1");
  ASSERT_TRUE(RunEventsUntil([&] { return form->PortLost(); }));
  // At once, not three poll intervals later: the port is gone.
  tracker.Send("p\n");
  EXPECT_EQ(Await(tracker, "\n"), "RPRT -5\n");
  tracker.Send("P 200 10\n");
  EXPECT_EQ(Await(tracker, "\n"), "RPRT -6\n") << "the serial port failed";

  simulator = std::make_unique<SimulatorProcess>(std::vector<std::string>{
      "--link", Path("COM1"), "--log", LogPath(), "--az", "200", "--el", "10"});
  ASSERT_TRUE(RunEventsUntil([&] { return form->Label6->text() == ReadOut(200); }));
  tracker.Send("p\n");
  EXPECT_EQ(Await(tracker, "10.00\n"), "200.00\n10.00\n");
  tracker.Send("P 100 20\n");
  EXPECT_EQ(Await(tracker, "\n"), "RPRT 0\n");
  EXPECT_EQ(WaitForCommands(1), std::vector<std::string>{HexBytes("W100 020\r")});
  EXPECT_TRUE(messages.empty());
}

}  // namespace
