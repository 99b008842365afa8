#include "tests/tools/UnansweredListener.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

// How long a connection may take to be answered before the queue counts as full.
constexpr int kAnswerMs = 300;
// The system queues a connection or two beyond the backlog; more never count.
constexpr int kMostFillers = 8;

}  // namespace

UnansweredListener::UnansweredListener(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  socklen_t length = sizeof address;
  auto* generic = reinterpret_cast<sockaddr*>(&address);
  const int reuse = 1;
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0 || setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0 ||
      bind(listener_, generic, sizeof address) != 0 || listen(listener_, 0) != 0 ||
      getsockname(listener_, generic, &length) != 0) {
    return;
  }
  port_ = ntohs(address.sin_port);
  // The first connection left unanswered shows the queue is full.
  for (int i = 0; i < kMostFillers && !full_; ++i) {
    const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (client < 0) return;
    fillers_.push_back(client);
    if (connect(client, generic, sizeof address) == 0) continue;
    pollfd wait{client, POLLOUT, 0};
    full_ = errno == EINPROGRESS && poll(&wait, 1, kAnswerMs) == 0;
  }
}

UnansweredListener::~UnansweredListener() {
  for (const int client : fillers_) close(client);
  if (listener_ >= 0) close(listener_);
}

std::string UnansweredListener::Url(const std::string& scheme) const {
  return scheme + "://127.0.0.1:" + std::to_string(port_);
}
