#include "tests/tools/LoopbackPort.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

// Whether table (a /proc/net/tcp file) has a listening socket on port.
bool listensIn(const std::string& table, uint16_t port) {
  std::ifstream file(table);
  std::string line;
  std::getline(file, line);  // the header
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    const size_t colon = local.rfind(':');
    if (colon == std::string::npos || state != "0A") continue;
    if (std::stoul(local.substr(colon + 1), nullptr, 16) == port) return true;
  }
  return false;
}

}  // namespace

uint16_t FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (fd >= 0) close(fd);
    throw std::runtime_error(std::string("no free port: ") + std::strerror(errno));
  }
  close(fd);
  return ntohs(address.sin_port);
}

bool ListeningOn(uint16_t port) {
  return listensIn("/proc/net/tcp", port) || listensIn("/proc/net/tcp6", port);
}
