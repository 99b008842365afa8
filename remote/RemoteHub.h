#pragma once
// Every rotctld client of the panel and the one line of commands they share: commands from all
// clients go out in the order they were read, one at a time, the way the buttons' commands do.
// The network edge connects and feeds the clients; the panel takes the queued commands, sends
// them and reports each done.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "remote/HubCommand.h"
#include "remote/RemoteRotator.h"
#include "remote/RemoteSession.h"

class RemoteHub {
 public:
  using ClientId = uint64_t;

  // Far more than a station runs at once (a tracker, a logger, a script or two), and few
  // enough that a program opening connections by the hundred cannot take the panel's memory.
  static constexpr size_t kDefaultMaxClients = 16;

  struct QueuedCommand {
    ClientId Client;
    HubCommand Command;
  };

  explicit RemoteHub(const RemoteRotator& rotator, size_t maxClients = kDefaultMaxClients);

  // A new client; nothing when maxClients are connected already.
  std::optional<ClientId> Connect();
  // The client is gone. Its commands already queued still go out, as rotctld carries out what
  // it has read; their replies are dropped.
  void Disconnect(ClientId client);
  // The client's session; null once it is gone.
  RemoteSession* Session(ClientId client);
  size_t Clients() const { return sessions_.size(); }

  // Called whenever a client queues a command.
  void SetOnCommandQueued(std::function<void()> handler) { onCommandQueued_ = std::move(handler); }
  // The oldest queued command, taken off the queue.
  std::optional<QueuedCommand> TakeNextCommand();
  // The command taken for client is done with status: its reply is written.
  void CommandDone(ClientId client, int status);
  // Takes every queued move off the queue (the stops stay) and answers each with status;
  // returns the clients answered.
  std::vector<ClientId> CancelQueuedMoves(int status);

 private:
  const RemoteRotator& rotator_;
  size_t maxClients_;
  ClientId nextClient_ = 1;
  std::map<ClientId, std::unique_ptr<RemoteSession>> sessions_;
  std::deque<QueuedCommand> queue_;
  std::function<void()> onCommandQueued_;
};
