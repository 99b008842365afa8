#include "serial/net/ServerLink.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Room in the pair for what the write thread puts: small, so output the
// server cannot take yet waits in the output ring, where a purge reaches it.
constexpr int kPairBuffer = 4096;
constexpr size_t kReadChunk = 4096;

void closeIfOpen(int& descriptor) {
  if (descriptor >= 0) close(descriptor);
  descriptor = -1;
}

// Waits for events on socket until the deadline: the events, 0 at the
// deadline, or -1 with errno.
int waitFor(int socket, short events, const Deadline& deadline) {
  for (;;) {
    pollfd wait{socket, events, 0};
    const int ready = poll(&wait, 1, static_cast<int>(deadline.Remaining().count()));
    if (ready > 0) return wait.revents;
    if (ready == 0) return 0;
    if (errno != EINTR) return -1;
  }
}

// The connection ended by the server before the session was agreed: it
// turned this end away.
bool endedByServer(int error) {
  return error == ECONNRESET || error == EPIPE || error == ECONNABORTED;
}

int sendAll(int socket, const std::vector<uint8_t>& bytes, const Deadline& deadline) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t written = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (written > 0) {
      sent += static_cast<size_t>(written);
      continue;
    }
    if (errno != EAGAIN && errno != EINTR) return errno;
    const int ready = waitFor(socket, POLLOUT, deadline);
    if (ready < 0) return errno;
    if (ready == 0) return ETIMEDOUT;
  }
  return 0;
}

}  // namespace

ServerLink::~ServerLink() { CloseSockets(); }

void ServerLink::CloseSockets() {
  closeIfOpen(Far);
  closeIfOpen(Near);
  closeIfOpen(Socket);
}

int AgreeSession(ServerLink& link, const Deadline& deadline) {
  std::vector<uint8_t> outgoing;
  uint8_t chunk[kReadChunk];
  // Alone on the link until the threads start: no lock is needed, but the
  // session is only ever used under it.
  const std::lock_guard<std::mutex> guard(link.Lock);
  link.Session.Start();
  while (true) {
    outgoing.clear();
    link.Session.TakeOutgoing(outgoing);
    if (const int error = sendAll(link.Socket, outgoing, deadline)) {
      return endedByServer(error) ? EBUSY : error;
    }
    if (link.Session.ComPort() != TelnetSession::ComPortState::Asked) return 0;
    const int ready = waitFor(link.Socket, POLLIN, deadline);
    if (ready < 0) return errno;
    if (ready == 0) return ETIMEDOUT;
    const ssize_t count = recv(link.Socket, chunk, sizeof chunk, 0);
    if (count == 0) return EBUSY;
    if (count < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return endedByServer(errno) ? EBUSY : errno;
    }
    link.Session.Receive(chunk, static_cast<size_t>(count), link.Early);
  }
}

int OpenLinkPair(ServerLink& link) {
  int pair[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pair) != 0) return errno;
  link.Near = pair[0];
  link.Far = pair[1];
  setsockopt(link.Near, SOL_SOCKET, SO_SNDBUF, &kPairBuffer, sizeof kPairBuffer);
  return 0;
}
