#include "serial/net/ServerConnect.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// A name lookup that may outlive the caller who stopped waiting for it.
struct Lookup {
  std::mutex lock;
  std::condition_variable finished;
  bool done = false;
  int error = EAI_AGAIN;
  int systemError = 0;  // errno of the resolving thread for EAI_SYSTEM
  addrinfo* addresses = nullptr;

  ~Lookup() {
    if (addresses != nullptr) freeaddrinfo(addresses);
  }
};

struct Addresses {
  int error = 0;  // an errno value
  std::shared_ptr<Lookup> lookup;
};

int errnoOfResolver(const Lookup& lookup) {
  switch (lookup.error) {
    case 0:
      return 0;
    case EAI_MEMORY:
      return ENOMEM;
    case EAI_SYSTEM:
      return lookup.systemError != 0 ? lookup.systemError : EHOSTUNREACH;
    default:
      // No such name, no address for it, or no answer: the server cannot be
      // reached by that name.
      return EHOSTUNREACH;
  }
}

void resolve(Lookup& lookup, const std::string& host, const std::string& port, int flags) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = flags | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const int error = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
  const int systemError = errno;
  const std::lock_guard<std::mutex> guard(lookup.lock);
  lookup.error = error;
  lookup.systemError = systemError;
  lookup.addresses = found;
  lookup.done = true;
  lookup.finished.notify_all();
}

// The resolver has no time limit of its own: a name is looked up on a
// thread of its own, which is left to finish alone when the deadline passes.
Addresses lookUp(const NetTarget& target, const Deadline& deadline) {
  const std::string port = std::to_string(target.Port);
  Addresses result;
  result.lookup = std::make_shared<Lookup>();
  // An address needs no lookup and takes no time.
  resolve(*result.lookup, target.Host, port, AI_NUMERICHOST);
  if (result.lookup->error != EAI_NONAME) {
    result.error = errnoOfResolver(*result.lookup);
    return result;
  }
  result.lookup = std::make_shared<Lookup>();
  try {
    std::thread([lookup = result.lookup, host = target.Host, port] {
      resolve(*lookup, host, port, AI_ADDRCONFIG);
    }).detach();
  } catch (const std::system_error& error) {
    result.error = error.code().value();
    return result;
  }
  std::unique_lock<std::mutex> guard(result.lookup->lock);
  if (!result.lookup->finished.wait_until(guard, deadline.End(),
                                          [&] { return result.lookup->done; })) {
    result.error = ETIMEDOUT;
    return result;
  }
  result.error = errnoOfResolver(*result.lookup);
  return result;
}

void keepLinkAlive(int socket) {
  const int on = 1;
  const int idle = static_cast<int>(kKeepAliveIdle.count());
  const int interval = static_cast<int>(kKeepAliveInterval.count());
  const int probes = kKeepAliveProbes;
  const unsigned int limit = static_cast<unsigned int>(kUnacknowledgedLimit.count());
  // Each is a refinement: a socket that refuses one still carries bytes.
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  setsockopt(socket, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  setsockopt(socket, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
  setsockopt(socket, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
  setsockopt(socket, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
  setsockopt(socket, IPPROTO_TCP, TCP_USER_TIMEOUT, &limit, sizeof limit);
}

// One address within budget: 0 with the socket, or the error number.
int connectTo(const addrinfo& address, std::chrono::milliseconds budget, int& connected) {
  const int socket = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                              address.ai_protocol);
  if (socket < 0) return errno;
  int error = 0;
  if (connect(socket, address.ai_addr, address.ai_addrlen) != 0) {
    error = errno;
    const Deadline attempt(budget);
    while (error == EINPROGRESS || error == EINTR) {
      pollfd wait{socket, POLLOUT, 0};
      const int ready = poll(&wait, 1, static_cast<int>(attempt.Remaining().count()));
      if (ready == 0) {
        error = ETIMEDOUT;
      } else if (ready > 0) {
        socklen_t length = sizeof error;
        if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
      } else if (errno != EINTR) {
        error = errno;
      }
    }
  }
  if (error != 0) {
    close(socket);
    return error;
  }
  keepLinkAlive(socket);
  connected = socket;
  return 0;
}

}  // namespace

int ConnectToServer(const NetTarget& target, const Deadline& deadline, int& socket) {
  const Addresses addresses = lookUp(target, deadline);
  if (addresses.error != 0) return addresses.error;
  std::vector<const addrinfo*> candidates;
  for (const addrinfo* a = addresses.lookup->addresses; a != nullptr; a = a->ai_next) {
    candidates.push_back(a);
  }
  int error = EHOSTUNREACH;
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (deadline.Passed()) return ETIMEDOUT;
    // An address that swallows the attempt leaves time for the next ones.
    const auto budget = deadline.Remaining() / static_cast<int>(candidates.size() - i);
    error = connectTo(*candidates[i], budget, socket);
    if (error == 0) return 0;
  }
  return error;
}

bool ServerHungUpWithin(int socket, std::chrono::milliseconds grace) {
  const Deadline deadline(grace);
  pollfd wait{socket, POLLRDHUP, 0};
  for (;;) {
    const int ready = poll(&wait, 1, static_cast<int>(deadline.Remaining().count()));
    if (ready > 0) return (wait.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
    if (ready == 0 || errno != EINTR) return false;
  }
}
