// The hub's sessions and their shared command queue, with a panel set by hand.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "remote/RemoteHub.h"
#include "remote/RotctlErrors.h"
#include "tests/remote/FakeRotator.h"

namespace {

using enum RotatorCommand;

class Hub : public testing::Test {
 protected:
  RemoteHub::ClientId connect() {
    const std::optional<RemoteHub::ClientId> client = hub.Connect();
    EXPECT_TRUE(client.has_value());
    return client.value_or(0);
  }

  // Gives the client's session all of bytes that it takes now; returns its replies.
  std::string send(RemoteHub::ClientId client, const std::string& bytes) {
    RemoteSession* session = hub.Session(client);
    pending_[client] += bytes;
    pending_[client].erase(0, session->Receive(pending_[client]));
    return session->TakeOutput();
  }

  // Carries out the oldest queued command with status, then lets its client read on.
  std::string complete(int status) {
    const std::optional<RemoteHub::QueuedCommand> next = hub.TakeNextCommand();
    EXPECT_TRUE(next.has_value());
    if (!next) return {};
    sent.push_back(next->Command);
    hub.CommandDone(next->Client, status);
    return send(next->Client, "");
  }

  FakeRotator rotator;
  RemoteHub hub{rotator, 3};
  std::vector<HubCommand> sent;

 private:
  std::map<RemoteHub::ClientId, std::string> pending_;
};

TEST_F(Hub, GetPosAnswersAtOnceFromTheLastAcceptedReport) {
  const RemoteHub::ClientId client = connect();
  EXPECT_EQ(send(client, "p\n"), "120.00\n30.00\n");
  rotator.Positions = std::nullopt;
  EXPECT_EQ(send(client, "p\n+p\n"), "RPRT -5\nget_pos:\nRPRT -5\n");
  rotator.Positions = RotatorPositions{7, 999};
  rotator.Config = 0;
  EXPECT_EQ(send(client, "p\n"), "7.00\n0.00\n");
  EXPECT_FALSE(hub.TakeNextCommand().has_value()) << "get_pos costs no command";
}

TEST_F(Hub, ASetCommandHoldsTheClientsLaterRequestsUntilItIsDone) {
  const RemoteHub::ClientId client = connect();
  EXPECT_EQ(send(client, "P 200 30\np\n+S\n"), "");
  EXPECT_TRUE(hub.Session(client)->Waiting());
  EXPECT_EQ(complete(RotctlOk), "RPRT 0\n120.00\n30.00\n");
  EXPECT_EQ(complete(RotctlOk), "stop:\nRPRT 0\n");
  EXPECT_EQ(sent, (std::vector<HubCommand>{{GoBoth, false, 200, 30}, {StopAll, false, 0, 0}}));
  EXPECT_EQ(hub.Session(client)->LastCommand(), "stop");
}

TEST_F(Hub, CommandsOfAllClientsGoOutInTheOrderTheyWereRead) {
  const RemoteHub::ClientId first = connect();
  const RemoteHub::ClientId second = connect();
  send(first, "P 10 20\n");
  EXPECT_EQ(send(second, "p\nM 16 5\n"), "120.00\n30.00\n") << "others are answered meanwhile";
  send(first, "K\n");
  EXPECT_EQ(complete(RotctlOk), "RPRT 0\n");
  EXPECT_EQ(complete(RotctlIoError), "RPRT -6\n");
  EXPECT_EQ(sent, (std::vector<HubCommand>{{GoBoth, false, 10, 20}, {TurnAxis1Cw, false, 0, 0}}))
      << "the first client's park, read after its set_pos was done, comes after the move";
  EXPECT_EQ(complete(RotctlOk), "RPRT 0\n");
  EXPECT_EQ(sent.back(), (HubCommand{GoBoth, true, 0, 0}));
}

TEST_F(Hub, BadRequestsAreAnsweredWithoutACommand) {
  const RemoteHub::ClientId client = connect();
  const std::string replies = send(client,
                                   "P 500 30\nP abc 30\nP ? 3\nM 3 5\nM 8 x\n"
                                   "R 1\n+s\nL 1 2 3\n\\dump_caps\nw C2\nZ\n");
  EXPECT_EQ(replies,
            "RPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\n"
            "RPRT -11\nget_status:\nRPRT -11\nRPRT -4\nRPRT -4\nRPRT -4\n");
  EXPECT_FALSE(hub.TakeNextCommand().has_value());
}

TEST_F(Hub, RefusedMovesAreNotAvailableWhileStopsAndPositionsStillAre) {
  rotator.Refused = true;
  const RemoteHub::ClientId client = connect();
  EXPECT_EQ(send(client, "P 200 30\nK\n;M 8 5\np\n"),
            "RPRT -11\nRPRT -11\nmove: 8 5;RPRT -11\n120.00\n30.00\n");
  send(client, "S\n");
  EXPECT_EQ(complete(RotctlOk), "RPRT 0\n");
}

TEST_F(Hub, TheOperatorsStopCancelsQueuedMovesButNotStops) {
  const RemoteHub::ClientId first = connect();
  const RemoteHub::ClientId second = connect();
  const RemoteHub::ClientId third = connect();
  send(first, "P 10 20\n");
  send(second, "S\n");
  send(third, "+M 8 5\n");
  EXPECT_EQ(hub.CancelQueuedMoves(RotctlRejected),
            (std::vector<RemoteHub::ClientId>{first, third}));
  EXPECT_EQ(send(first, ""), "RPRT -9\n");
  EXPECT_EQ(send(third, ""), "move: 8 5\nRPRT -9\n");
  EXPECT_EQ(complete(RotctlOk), "RPRT 0\n");
  EXPECT_EQ(sent, (std::vector<HubCommand>{{StopAll, false, 0, 0}}));
}

TEST_F(Hub, AClientThatLeavesKeepsItsQueuedCommandWithoutAReply) {
  const RemoteHub::ClientId client = connect();
  send(client, "P 10 20\n");
  hub.Disconnect(client);
  EXPECT_EQ(hub.Session(client), nullptr);
  const std::optional<RemoteHub::QueuedCommand> next = hub.TakeNextCommand();
  ASSERT_TRUE(next.has_value());
  hub.CommandDone(next->Client, RotctlOk);
  EXPECT_EQ(hub.Clients(), 0u);
}

TEST_F(Hub, ClientsBeyondTheLimitAreRefusedUntilOneLeaves) {
  const RemoteHub::ClientId first = connect();
  connect();
  connect();
  EXPECT_FALSE(hub.Connect().has_value());
  hub.Disconnect(first);
  EXPECT_TRUE(hub.Connect().has_value());
}

TEST_F(Hub, QuitAndFaultsEndTheSessionAfterTheRepliesSoFar) {
  const RemoteHub::ClientId quitting = connect();
  EXPECT_EQ(send(quitting, "p q p\n"), "120.00\n30.00\n");
  EXPECT_TRUE(hub.Session(quitting)->Ended());
  EXPECT_EQ(hub.Session(quitting)->Fault(), RotctlFault::None);
  const RemoteHub::ClientId noisy = connect();
  send(noisy, std::string(200, 'Z'));
  EXPECT_TRUE(hub.Session(noisy)->Ended());
  EXPECT_EQ(hub.Session(noisy)->Fault(), RotctlFault::Garbage);
}

}  // namespace
