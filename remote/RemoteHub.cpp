#include "remote/RemoteHub.h"

RemoteHub::RemoteHub(const RemoteRotator& rotator, size_t maxClients)
    : rotator_(rotator), maxClients_(maxClients) {}

std::optional<RemoteHub::ClientId> RemoteHub::Connect() {
  if (sessions_.size() >= maxClients_) return std::nullopt;
  const ClientId client = nextClient_++;
  sessions_.emplace(
      client, std::make_unique<RemoteSession>(rotator_, [this, client](const HubCommand& command) {
        queue_.push_back({client, command});
        if (onCommandQueued_) onCommandQueued_();
      }));
  return client;
}

void RemoteHub::Disconnect(ClientId client) { sessions_.erase(client); }

RemoteSession* RemoteHub::Session(ClientId client) {
  const auto found = sessions_.find(client);
  return found != sessions_.end() ? found->second.get() : nullptr;
}

std::optional<RemoteHub::QueuedCommand> RemoteHub::TakeNextCommand() {
  if (queue_.empty()) return std::nullopt;
  QueuedCommand next = queue_.front();
  queue_.pop_front();
  return next;
}

void RemoteHub::CommandDone(ClientId client, int status) {
  if (RemoteSession* session = Session(client)) session->Completed(status);
}

std::vector<RemoteHub::ClientId> RemoteHub::CancelQueuedMoves(int status) {
  std::vector<ClientId> answered;
  std::deque<QueuedCommand> kept;
  for (const QueuedCommand& queued : queue_) {
    if (queued.Command.IsMove()) {
      CommandDone(queued.Client, status);
      answered.push_back(queued.Client);
    } else {
      kept.push_back(queued);
    }
  }
  queue_ = std::move(kept);
  return answered;
}
