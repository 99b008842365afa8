#include "tests/remote/TcpClient.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace {

sockaddr_in loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

sockaddr_in addressOf(const std::string& text, uint16_t port) {
  sockaddr_in address = loopback(port);
  if (inet_pton(AF_INET, text.c_str(), &address.sin_addr) != 1) {
    throw std::runtime_error("no IPv4 address: " + text);
  }
  return address;
}

}  // namespace

uint16_t FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = loopback(0);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error(std::string("no free port: ") + std::strerror(errno));
  }
  close(fd);
  return ntohs(address.sin_port);
}

std::optional<std::string> OwnNetworkAddress() {
  ifaddrs* interfaces = nullptr;
  if (getifaddrs(&interfaces) != 0) return std::nullopt;
  std::optional<std::string> found;
  for (const ifaddrs* entry = interfaces; entry != nullptr && !found; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
        (entry->ifa_flags & IFF_LOOPBACK) != 0 || (entry->ifa_flags & IFF_UP) == 0) {
      continue;
    }
    char text[INET_ADDRSTRLEN];
    const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
    if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) found = text;
  }
  freeifaddrs(interfaces);
  return found;
}

TcpClient::TcpClient(uint16_t port, const Deadline& deadline)
    : TcpClient("127.0.0.1", port, deadline) {}

TcpClient::TcpClient(const std::string& host, uint16_t port, const Deadline& deadline) {
  const sockaddr_in address = addressOf(host, port);
  for (;;) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ >= 0 &&
        connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      return;
    }
    const int error = errno;
    close(fd_);
    fd_ = -1;
    if (error != ECONNREFUSED || deadline.Passed()) {
      throw std::runtime_error("cannot connect to port " + std::to_string(port) + ": " +
                               std::strerror(error));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TcpClient::~TcpClient() {
  if (fd_ >= 0) close(fd_);
}

bool TcpClient::Send(const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t written = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    sent += static_cast<size_t>(written);
  }
  return true;
}

std::optional<std::string> TcpClient::ReadOnce(const Deadline& deadline) {
  pollfd watched{fd_, POLLIN, 0};
  const int ready = poll(&watched, 1, static_cast<int>(deadline.Remaining().count()));
  if (ready <= 0) return std::string();
  char buffer[65536];
  const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
  if (got <= 0) return std::nullopt;
  return std::string(buffer, static_cast<size_t>(got));
}

std::string TcpClient::ReadUntil(const std::function<bool(const std::string&)>& done,
                                 const Deadline& deadline) {
  std::string arrived;
  while (!done(arrived) && !deadline.Passed()) {
    const std::optional<std::string> piece = ReadOnce(deadline);
    if (!piece) break;
    arrived += *piece;
  }
  return arrived;
}

bool TcpClient::ClosedByServer(const Deadline& deadline) {
  while (!deadline.Passed()) {
    const std::optional<std::string> piece = ReadOnce(deadline);
    if (!piece) return true;
  }
  return false;
}

void TcpClient::Abort() {
  const linger reset{1, 0};
  setsockopt(fd_, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
  close(fd_);
  fd_ = -1;
}
