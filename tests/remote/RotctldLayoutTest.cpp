// The hub's replies beside those of Debian's rotctld with hamlib's dummy rotator, a real peer:
// the same requests must get replies of the same layout, byte for byte once the numbers (their
// rotator is another) and the two info texts are set aside.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "remote/RemoteHub.h"
#include "remote/RotctlErrors.h"
#include "tests/remote/FakeRotator.h"
#include "tests/remote/TcpClient.h"
#include "tests/tools/ChildProcess.h"
#include "tests/tools/TestPatience.h"

namespace {

// Every request the layout depends on: plain and extended forms with each separator, get and
// set commands, failures, unknown commands, several requests on a line and over lines.
const std::vector<std::string> kRequests = {
    "p\n",
    "+p\n",
    ";p\n",
    "|p\n",
    ",p\n",
    "?p\n",
    "\\get_pos\n",
    "+\\get_pos\n",
    "P 10 20\n",
    "+P 10 20\n",
    ";P 10 20\n",
    "P 1000 30\n",
    "+P 1000 30\n",
    "|P 1000 30\n",
    "P abc 30\n",
    "P ? 3\n",
    "\\set_pos 10 20\n",
    "S\n",
    "+S\n",
    "K\n",
    "+K\n",
    "M 8 5\n",
    "+M 8 5\n",
    ",M 16 5\n",
    "M 3 5\n",
    "M x 5\n",
    "\\dump_state\n",
    "+\\dump_state\n",
    ";\\dump_state\n",
    "_\n",
    "+_\n",
    "Z\n",
    "\\foo\n",
    "# c p\n",
    "p p\n",
    "P\n10\n20\n",
    "P 10 20 p\n",
};

// The reply with every number as "#" and the rotator's info text as "<info>".
std::string layoutOf(std::string reply, const std::string& info) {
  for (size_t at; (at = reply.find(info)) != std::string::npos;)
    reply.replace(at, info.size(), "<info>");
  static const std::regex number("-?[0-9]+(\\.[0-9]+)?");
  return std::regex_replace(reply, number, "#");
}

// rotctld's replies to each request, each followed by a locator conversion whose known answer
// ends it.
std::vector<std::string> rotctldReplies() {
  const uint16_t port = FreeLoopbackPort();
  ChildProcess rotctld(ROTCTLD_PATH, {"-m", "1", "-T", "127.0.0.1", "-t", std::to_string(port)});
  TcpClient client(port, Deadline(kPatience));
  const std::string end = "JJ02\n";
  std::vector<std::string> replies;
  for (const std::string& request : kRequests) {
    client.Send(request + "L 1 2 4\n");
    std::string reply = client.ReadUntil([&](const std::string& got) { return got.ends_with(end); },
                                         Deadline(kPatience));
    EXPECT_TRUE(reply.ends_with(end)) << "rotctld did not answer " << request;
    replies.push_back(layoutOf(reply.substr(0, reply.size() - std::min(reply.size(), end.size())),
                               "Dummy rotator"));
  }
  return replies;
}

// The hub's replies, every command it queues done at once.
std::vector<std::string> hubReplies() {
  FakeRotator rotator;
  RemoteHub hub(rotator);
  const RemoteHub::ClientId client = *hub.Connect();
  std::vector<std::string> replies;
  for (const std::string& request : kRequests) {
    std::string input = request;
    std::string reply;
    RemoteSession* session = hub.Session(client);
    while (!input.empty()) {
      input.erase(0, session->Receive(input));
      while (const auto next = hub.TakeNextCommand()) hub.CommandDone(next->Client, RotctlOk);
      reply += session->TakeOutput();
    }
    replies.push_back(layoutOf(reply, rotator.Info()));
  }
  return replies;
}

TEST(RotctldLayout, RepliesAreLaidOutAsRotctldLaysThemOut) {
  const std::vector<std::string> theirs = rotctldReplies();
  const std::vector<std::string> ours = hubReplies();
  ASSERT_EQ(theirs.size(), ours.size());
  for (size_t i = 0; i < theirs.size(); ++i) {
    EXPECT_EQ(ours[i], theirs[i]) << "request " << kRequests[i];
  }
}

}  // namespace
