#include "tests/remote/HubPanel.h"

#include "tests/app/SimulatorLog.h"
#include "tests/remote/TcpClient.h"
#include "tests/tools/ChildProcess.h"

void HubPanelTest::Start(const std::vector<std::string>& simulatorOptions,
                         const std::string& remoteLines, int config) {
  CopyLanguageFile();
  WriteSettings({"1", "EN", "500", "10", "0", "0", std::to_string(config), "50", "50"});
  port = FreeLoopbackPort();
  WriteFile("QV_M_remote.ini", "port=" + std::to_string(port) + "\r\n" + remoteLines);
  std::vector<std::string> options = {"--link", Path("COM1"),
                                      "--log",  LogPath(),
                                      "--az",   std::to_string(kAzimuth),
                                      "--el",   std::to_string(kElevation)};
  options.insert(options.end(), simulatorOptions.begin(), simulatorOptions.end());
  simulator = std::make_unique<SimulatorProcess>(options);
  StartPanelOnly();
  ASSERT_TRUE(form->SioComPort1.Open());
  ASSERT_TRUE(RunEventsUntil([&] { return form->Label6->text() == ReadOut(kAzimuth); }));
}

void HubPanelTest::StartPanelOnly() {
  form = StartPanel();
  ASSERT_NE(form->Remote(), nullptr);
}

namespace {

// What client received until done holds for it, the connection closed or patience passed.
std::string awaitReceived(TcpClient& client, const std::function<bool(const std::string&)>& done) {
  std::string received;
  RunEventsUntil([&] {
    const std::optional<std::string> piece =
        client.ReadOnce(Deadline(std::chrono::milliseconds(0)));
    if (!piece) return true;
    received += *piece;
    return done(received);
  });
  return received;
}

}  // namespace

std::string HubPanelTest::Await(TcpClient& client, const std::string& ending) {
  return awaitReceived(client,
                       [&](const std::string& received) { return received.ends_with(ending); });
}

std::string HubPanelTest::AwaitStatus(TcpClient& client) {
  return awaitReceived(client, [](const std::string& received) {
    const size_t status = received.find("RPRT ");
    return status != std::string::npos && received.find('\n', status) != std::string::npos;
  });
}

void HubPanelTest::ExpectServedAndPolling() {
  TcpClient client(port, Deadline(kPatience));
  client.Send("+p\n");
  const std::string reply = AwaitStatus(client);
  EXPECT_TRUE(reply.starts_with("get_pos:\nAzimuth: ") && reply.ends_with("\nRPRT 0\n")) << reply;
  const size_t polls = Polls();
  EXPECT_GE(::WaitForPolls(LogPath(), polls + 2).size(), polls + 2) << "the panel polls on";
}

bool HubPanelTest::AwaitClosed(TcpClient& client) {
  return RunEventsUntil(
      [&] { return !client.ReadOnce(Deadline(std::chrono::milliseconds(0))).has_value(); });
}

std::string HubPanelTest::Rotctl(const std::vector<std::string>& command) {
  std::vector<std::string> args = {"-m", "2", "-r", "127.0.0.1:" + std::to_string(port)};
  args.insert(args.end(), command.begin(), command.end());
  return OnClientThread([args] {
    ChildProcess rotctl(ROTCTL_PATH, args);
    std::string output = rotctl.ReadAll(Deadline(kPatience));
    rotctl.Wait(Deadline(kPatience));
    return output;
  });
}

std::vector<std::string> HubPanelTest::Commands() const { return LoggedCommands(LogPath()); }

size_t HubPanelTest::Polls() const { return LoggedPolls(LogPath()).size(); }

std::vector<std::string> HubPanelTest::WaitForCommands(size_t count) const {
  return ::WaitForCommands(LogPath(), count);
}
