#pragma once
// A panel with its network server on a free port of 127.0.0.1, polling a GS-232B simulator on
// its COM1 twice a second, for tests that reach it as network clients do. Clients that block
// (rotctl, a tracker's loop) run on a thread of their own while the GUI thread handles the
// panel's events, as in the program.

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/RemoteControl.h"
#include "tests/app/EventLoopWait.h"
#include "tests/app/PanelFixture.h"
#include "tests/remote/TcpClient.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TestPatience.h"

class HubPanelTest : public PanelTest {
 protected:
  static constexpr int kAzimuth = 120;
  static constexpr int kElevation = 30;

  // The simulator at kAzimuth, kElevation with options, the server's settings remoteLines
  // (port=<port> added first), then the panel with axis configuration config; returns once the
  // first report is shown.
  void Start(const std::vector<std::string>& simulatorOptions = {},
             const std::string& remoteLines = "", int config = 2);
  // Only the panel, with the files as they are.
  void StartPanelOnly();

  // Runs work on a thread of its own while the GUI thread handles events; its result.
  template <typename Work>
  auto OnClientThread(Work work) -> decltype(work()) {
    std::future<decltype(work())> result = std::async(std::launch::async, std::move(work));
    RunEventsUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    return result.get();
  }

  // What client received until it ends with ending (or the connection closed, or patience
  // passed), the GUI thread handling events meanwhile.
  std::string Await(TcpClient& client, const std::string& ending);
  // Whether the server closed client's connection within patience, handling events meanwhile.
  bool AwaitClosed(TcpClient& client);

  // What client received until it holds a status line "RPRT n", handling events meanwhile.
  std::string AwaitStatus(TcpClient& client);
  // A new client is answered with a current position and the panel goes on polling.
  void ExpectServedAndPolling();

  // hamlib's rotctl as the NET rotctl client (-m 2) of the panel, with command; its output.
  std::string Rotctl(const std::vector<std::string>& command);

  // The simulator's log: commands besides the polls, and the polls.
  std::vector<std::string> Commands() const;
  size_t Polls() const;
  // Waits until the log holds count commands besides the polls.
  std::vector<std::string> WaitForCommands(size_t count) const;

  RemoteControl& Remote() const { return *form->Remote(); }
  std::string LogPath() const { return Path("commands.log"); }

  uint16_t port = 0;
  std::unique_ptr<SimulatorProcess> simulator;
  std::unique_ptr<TForm1> form;
};
