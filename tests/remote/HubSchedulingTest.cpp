// Network commands take the buttons' road without freezing the window, and the operator's
// STOP wins over them.

#include <gtest/gtest.h>

#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/app/SimulatorLog.h"
#include "tests/remote/HubPanel.h"
#include "tests/remote/TcpClient.h"
#include "tests/tools/WireLog.h"

namespace {

using Scheduling = HubPanelTest;
using Clock = std::chrono::steady_clock;

TEST_F(Scheduling, TheWindowAndOtherClientsAreAnsweredDuringTheNetworkCommandsPause) {
  Start();
  TcpClient mover(port, Deadline(kPatience));
  TcpClient watcher(port, Deadline(kPatience));
  mover.Send("P 100 10\n");
  // The pause runs on a timer: the GUI thread handles events meanwhile, so the watcher is
  // answered while the mover still waits for its reply.
  ASSERT_TRUE(RunEventsUntil([&] { return !form->Timer1->Enabled(); })) << "the command began";
  watcher.Send("p\n");
  EXPECT_EQ(Await(watcher, "30.00\n"), "120.00\n30.00\n");
  EXPECT_TRUE(Commands().empty()) << "the move is still in its pause";
  EXPECT_FALSE(form->Timer1->Enabled()) << "and no poll may go out before it";
  EXPECT_EQ(Await(mover, "\n"), "RPRT 0\n");
  EXPECT_EQ(WaitForCommands(1), std::vector<std::string>{HexBytes("W100 010\r")});
  EXPECT_TRUE(form->Timer1->Enabled());
}

TEST_F(Scheduling, TheOperatorsStopGoesOutAndCancelsTheNetworksMoves) {
  Start();
  TcpClient first(port, Deadline(kPatience));
  TcpClient second(port, Deadline(kPatience));
  first.Send("P 300 60\n");
  ASSERT_TRUE(RunEventsUntil([&] { return !form->Timer1->Enabled(); }));
  second.Send("+M 16 5\n");
  ASSERT_TRUE(RunEventsUntil([&] {
    for (const RemoteClientRow& row : Remote().Server().Clients()) {
      if (row.LastCommand == "move 16 5") return true;
    }
    return false;
  })) << "the second move is read and queued behind the first one";
  QTest::mouseClick(form->Button6, Qt::LeftButton);
  EXPECT_EQ(Await(first, "\n"), "RPRT -9\n");
  EXPECT_EQ(Await(second, "RPRT -9\n"), "move: 16 5\nRPRT -9\n");
  const size_t polls = Polls();
  // Long enough for either move to have gone out had it not been cancelled.
  EXPECT_GE(WaitForPolls(LogPath(), polls + 2).size(), polls + 2);
  EXPECT_EQ(Commands(), std::vector<std::string>{HexBytes("S\r")});
  // The network moves again once the operator is done.
  first.Send("M 8 5\n");
  EXPECT_EQ(WaitForCommands(2), (std::vector<std::string>{HexBytes("S\r"), HexBytes("L\r")}));
}

TEST_F(Scheduling, CommandsOfSeveralClientsGoOutOneAtATimeEachAfterItsPause) {
  Start();
  std::atomic<int> done{0};
  const auto client = [&](const std::string& request) {
    TcpClient connection(port, Deadline(kPatience));
    connection.Send(request);
    const std::string reply = connection.ReadUntil(
        [](const std::string& got) { return got.ends_with("\n"); }, Deadline(kPatience));
    ++done;
    return reply;
  };
  std::future<std::string> a = std::async(std::launch::async, client, std::string("P 10 20\n"));
  std::future<std::string> b = std::async(std::launch::async, client, std::string("P 30 40\n"));
  std::future<std::string> c = std::async(std::launch::async, client, std::string("S\n"));
  ASSERT_TRUE(RunEventsUntil([&] { return done == 3; }));
  EXPECT_EQ(a.get(), "RPRT 0\n");
  EXPECT_EQ(b.get(), "RPRT 0\n");
  EXPECT_EQ(c.get(), "RPRT 0\n");
  // Each reply follows its command's bytes into the port; the wire may lag a moment behind.
  ASSERT_EQ(WaitForCommands(3).size(), 3u);
  // Each went out whole and after a pause of its own: 600 ms at least from the first request.
  std::vector<long> stamps;
  for (const WireEntry& command : ::Commands(ReadWireLog(LogPath()))) stamps.push_back(command.Ms);
  ASSERT_EQ(stamps.size(), 3u);
  EXPECT_GE(stamps[1] - stamps[0], 195);
  EXPECT_GE(stamps[2] - stamps[1], 195);
}

}  // namespace
