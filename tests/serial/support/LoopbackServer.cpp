#include "tests/serial/support/LoopbackServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "serial/Deadline.h"
#include "serial/net/TelnetCodes.h"

void Transcript::Append(const uint8_t* bytes, size_t count) {
  const std::lock_guard<std::mutex> guard(lock_);
  bytes_.insert(bytes_.end(), bytes, bytes + count);
  changed_.notify_all();
}

void Transcript::MarkClosed() {
  const std::lock_guard<std::mutex> guard(lock_);
  closed_ = true;
  changed_.notify_all();
}

std::vector<uint8_t> Transcript::Bytes() {
  const std::lock_guard<std::mutex> guard(lock_);
  return bytes_;
}

bool Transcript::Closed() {
  const std::lock_guard<std::mutex> guard(lock_);
  return closed_;
}

bool Transcript::WaitForSequence(const std::vector<uint8_t>& sequence,
                                 std::chrono::milliseconds bound) {
  std::unique_lock<std::mutex> guard(lock_);
  return changed_.wait_for(guard, bound, [&] {
    return std::search(bytes_.begin(), bytes_.end(), sequence.begin(), sequence.end()) !=
           bytes_.end();
  });
}

bool Transcript::WaitForClose(std::chrono::milliseconds bound) {
  std::unique_lock<std::mutex> guard(lock_);
  return changed_.wait_for(guard, bound, [&] { return closed_; });
}

bool ServerConnection::Send(const std::vector<uint8_t>& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t written = send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (written <= 0) return false;
    sent += static_cast<size_t>(written);
  }
  return true;
}

bool ServerConnection::readSome(std::chrono::milliseconds bound) {
  pollfd waits[2] = {{socket_, POLLIN, 0}, {stop_.Descriptor(), POLLIN, 0}};
  const int ready = poll(waits, 2, static_cast<int>(bound.count()));
  if (ready <= 0 || waits[1].revents != 0) return false;
  uint8_t chunk[4096];
  const ssize_t count = recv(socket_, chunk, sizeof chunk, 0);
  if (count <= 0) {
    transcript_.MarkClosed();
    return false;
  }
  transcript_.Append(chunk, static_cast<size_t>(count));
  return true;
}

bool ServerConnection::ReadUntil(const std::vector<uint8_t>& sequence,
                                 std::chrono::milliseconds bound) {
  const Deadline deadline(bound);
  while (!transcript_.WaitForSequence(sequence, std::chrono::milliseconds(0))) {
    if (deadline.Passed() || !readSome(deadline.Remaining())) return false;
  }
  return true;
}

void ServerConnection::ReadToEnd() {
  while (readSome(std::chrono::hours(1))) {
  }
}

void ServerConnection::Stall() {
  pollfd wait{stop_.Descriptor(), POLLIN, 0};
  while (poll(&wait, 1, -1) < 0 && errno == EINTR) {
  }
}

bool ServerConnection::AgreeComPort() {
  using namespace telnet;
  return Send({kIac, kDo, kComPort, kIac, kDo, kBinary, kIac, kWill, kBinary});
}

std::vector<uint8_t> ComPortMessage(uint8_t command, const std::vector<uint8_t>& value) {
  using namespace telnet;
  std::vector<uint8_t> message = {kIac, kSb, kComPort, command};
  for (const uint8_t byte : value) {
    message.push_back(byte);
    if (byte == kIac) message.push_back(kIac);
  }
  message.insert(message.end(), {kIac, kSe});
  return message;
}

namespace {

// A socket listening on the loopback of family, on a port the system
// picked: the socket and the port, or -1.
int listenOnLoopback(LoopbackServer::Family family, uint16_t& port) {
  sockaddr_storage address{};
  socklen_t length;
  if (family == LoopbackServer::Family::Ipv6) {
    auto& ipv6 = reinterpret_cast<sockaddr_in6&>(address);
    ipv6.sin6_family = AF_INET6;
    ipv6.sin6_addr = in6addr_loopback;
    length = sizeof ipv6;
  } else {
    auto& ipv4 = reinterpret_cast<sockaddr_in&>(address);
    ipv4.sin_family = AF_INET;
    ipv4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    length = sizeof ipv4;
  }
  auto* generic = reinterpret_cast<sockaddr*>(&address);
  const int listener = socket(address.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener < 0 || bind(listener, generic, length) != 0 || listen(listener, 8) != 0 ||
      getsockname(listener, generic, &length) != 0) {
    if (listener >= 0) close(listener);
    return -1;
  }
  port = ntohs(family == LoopbackServer::Family::Ipv6
                   ? reinterpret_cast<sockaddr_in6&>(address).sin6_port
                   : reinterpret_cast<sockaddr_in&>(address).sin_port);
  return listener;
}

}  // namespace

LoopbackServer::LoopbackServer(Serve serve, Family family)
    : serve_(std::move(serve)), family_(family) {
  listener_ = listenOnLoopback(family, port_);
  if (listener_ < 0) throw std::runtime_error("the loopback server cannot listen");
  thread_ = std::thread([this] { run(); });
}

LoopbackServer::~LoopbackServer() {
  stop_.Set();
  thread_.join();
  close(listener_);
}

std::string LoopbackServer::Url(const std::string& scheme) const {
  const char* host = family_ == Family::Ipv6 ? "[::1]" : "127.0.0.1";
  return scheme + "://" + host + ":" + std::to_string(port_);
}

void LoopbackServer::run() {
  for (;;) {
    pollfd waits[2] = {{listener_, POLLIN, 0}, {stop_.Descriptor(), POLLIN, 0}};
    if (poll(waits, 2, -1) < 0 && errno == EINTR) continue;
    if (waits[1].revents != 0) return;
    const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    accepted_.fetch_add(1);
    ServerConnection connection(client, stop_, transcript_);
    serve_(connection);
    close(client);
  }
}
