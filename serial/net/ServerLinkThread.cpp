#include "serial/net/ServerLinkThread.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <new>

#include "serial/LineEvents.h"

namespace {

constexpr size_t kChunk = 4096;
// The modem lines of a NOTIFY-MODEMSTATE value, without its change bits.
constexpr uint8_t kModemLines = 0xF0;

// Moves what is unsent of bytes from offset to descriptor: false when the
// descriptor failed (errno tells), true when it took what it could.
bool writeSome(int descriptor, std::vector<uint8_t>& bytes, size_t& offset, bool socket) {
  while (offset < bytes.size()) {
    const void* from = bytes.data() + offset;
    const size_t left = bytes.size() - offset;
    const ssize_t written =
        socket ? send(descriptor, from, left, MSG_NOSIGNAL) : write(descriptor, from, left);
    if (written > 0) {
      offset += static_cast<size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN) return false;
    break;
  }
  if (offset == bytes.size()) {
    bytes.clear();
    offset = 0;
  }
  return true;
}

}  // namespace

void TServerLinkThread::Execute() {
  toPort_ = std::move(link_.Early);
  while (Running()) serve();
}

void TServerLinkThread::serve() {
  {
    const std::lock_guard<std::mutex> guard(link_.Lock);
    takeOutgoingLocked();
  }
  const bool roomToServer = toServer_.size() < kHeldBytes && !suspended_;
  const bool roomToPort = toPort_.size() < kHeldBytes;
  pollfd waits[3] = {
      {link_.Socket, 0, 0}, {link_.Far, 0, 0}, {Port().StatusEvent().Descriptor(), POLLIN, 0}};
  if (serverOpen_) {
    waits[0].events = static_cast<short>((roomToPort ? POLLIN : 0) |
                                         (!toServer_.empty() && !suspended_ ? POLLOUT : 0));
  } else {
    waits[0].fd = -1;
  }
  waits[1].events = static_cast<short>((serverOpen_ && roomToServer ? POLLIN : 0) |
                                       (toPort_.empty() ? 0 : POLLOUT));
  if (poll(waits, 3, -1) < 0) {
    if (errno != EINTR) Fail(kDeviceReadError);
    return;
  }
  if (waits[2].revents != 0) Port().StatusEvent().Reset();
  if (!Running()) return;
  if (waits[0].revents & (POLLIN | POLLERR | POLLHUP)) receiveFromServer();
  if (serverOpen_ && (waits[0].revents & POLLOUT)) sendToServer();
  if (waits[1].revents & POLLIN) takeFromPort();
  if (waits[1].revents & POLLOUT) deliverToPort();
}

void TServerLinkThread::receiveFromServer() {
  uint8_t chunk[kChunk];
  const ssize_t count = recv(link_.Socket, chunk, sizeof chunk, 0);
  if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) {
    serverGone();
    return;
  }
  if (count < 0) return;
  uint32_t news;
  uint8_t modemBefore;
  uint8_t modemNow;
  uint8_t errors;
  {
    const std::lock_guard<std::mutex> guard(link_.Lock);
    modemBefore = link_.Session.ModemState();
    news = link_.Session.Receive(chunk, static_cast<size_t>(count), toPort_);
    modemNow = link_.Session.ModemState();
    errors = link_.Session.PendingLineErrors();
    suspended_ = link_.Session.Suspended();
    takeOutgoingLocked();
  }
  reportNews(news, modemBefore, modemNow, errors);
  // Answers go out at once, not after the next wake.
  if (!toServer_.empty() && !suspended_) sendToServer();
  if (!toPort_.empty()) deliverToPort();
}

void TServerLinkThread::reportNews(uint32_t news, uint8_t modemBefore, uint8_t modemNow,
                                   uint8_t errors) {
  uint32_t events = 0;
  if (news & TelnetSession::kModemStateNews) {
    events |= ModemLineEvents(modemBefore & kModemLines, modemNow & kModemLines);
  }
  // The error bits stay with the session until CollectLineErrors takes
  // them; the event makes the dispatcher look.
  if (news & TelnetSession::kLineErrorNews) events |= LineErrorEvents(errors);
  if (events == 0) return;
  try {
    Port().InputQueue().PushItem(std::make_unique<TStatusBuffer>(events));
  } catch (const std::bad_alloc&) {
    Fail(kThreadOutOfMemory);
  }
}

void TServerLinkThread::sendToServer() {
  if (!writeSome(link_.Socket, toServer_, toServerSent_, true)) serverGone();
}

void TServerLinkThread::takeFromPort() {
  uint8_t chunk[kChunk];
  const ssize_t count = read(link_.Far, chunk, sizeof chunk);
  if (count <= 0) return;
  {
    const std::lock_guard<std::mutex> guard(link_.Lock);
    link_.Session.SendData(chunk, static_cast<size_t>(count));
    takeOutgoingLocked();
  }
  sendToServer();
}

void TServerLinkThread::deliverToPort() {
  // The pair is open until the threads have ended: it fails only when the
  // port is going anyway.
  if (!writeSome(link_.Far, toPort_, toPortSent_, false)) toPort_.clear();
  if (!serverOpen_ && toPort_.empty()) shutdown(link_.Far, SHUT_WR);
}

void TServerLinkThread::takeOutgoingLocked() {
  if (link_.Session.HasOutgoing()) link_.Session.TakeOutgoing(toServer_);
}

void TServerLinkThread::serverGone() {
  if (!serverOpen_) return;
  serverOpen_ = false;
  toServer_.clear();
  toServerSent_ = 0;
  if (toPort_.empty()) shutdown(link_.Far, SHUT_WR);
}
