#pragma once
// Sends the commands network clients queued at the hub, one at a time, the way the buttons send
// theirs: polling stops while a command is under way and GO and STOP wait 200 ms before they go
// out, but the wait is a timer, not a blocking pause, so the window keeps answering (and the
// hub keeps answering get_pos) meanwhile. A poll that goes out during the wait anyway (an
// operator's command restarted polling) starts the wait anew, so the controller always has
// 200 ms after the last poll. Once the command went out a poll follows at once: the controller
// acknowledges every command with a CR, and the reply handler accepts a report behind one CR
// only, so two commands without a poll between them would cost the next report; and a tracker
// sending targets faster than the poll rate would keep the poll timer from ever ticking. The
// operator's STOP wins: it cancels the command waiting and every queued move.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

#include "remote/RemoteHub.h"

class TForm1;

class NetworkCommandRunner : public QObject {
 public:
  // served is told of every client the hub wrote a reply for.
  NetworkCommandRunner(TForm1& form, RemoteHub& hub,
                       std::function<void(RemoteHub::ClientId)> served);

  // Starts the next queued command, on the next pass of the event loop, unless one is under
  // way.
  void Poke();
  // The operator pressed a STOP button: moves waiting or queued are answered as rejected.
  // Their clients are served once the operator's command is done.
  void OperatorStop();

 private:
  using Clock = std::chrono::steady_clock;

  void startNext();
  void pauseOver();
  void send();
  // The bytes of command through the panel's own command buffer; the status for the client.
  int sendCommand(const HubCommand& command);
  void pollAfterCommand();
  void finish(int status);
  void serveLater(RemoteHub::ClientId client);

  TForm1& form_;
  RemoteHub& hub_;
  std::function<void(RemoteHub::ClientId)> served_;
  QTimer pause_;
  Clock::time_point pauseStart_;
  std::optional<RemoteHub::QueuedCommand> current_;
  bool poked_ = false;
};
