#include "tests/serial/support/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <stdexcept>

#include "serial/Deadline.h"
#include "serial/PortPath.h"
#include "tests/support/FileBytes.h"

namespace {

constexpr int kPollSlice = 10;

int pollSlice(const Deadline& deadline) {
  const auto left = static_cast<int>(deadline.Remaining().count());
  return left < kPollSlice ? left : kPollSlice;
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    throw std::runtime_error("no pseudo-terminal");
  }
  char name[PATH_MAX];
  if (ptsname_r(master_, name, sizeof name) != 0) throw std::runtime_error("no slave name");
  slavePath_ = name;
  termios line{};
  tcgetattr(master_, &line);
  cfmakeraw(&line);
  tcsetattr(master_, TCSANOW, &line);
}

PseudoTerminal::~PseudoTerminal() { CloseMaster(); }

void PseudoTerminal::CloseMaster() {
  if (master_ >= 0) close(master_);
  master_ = -1;
}

bool PseudoTerminal::Write(const std::vector<uint8_t>& bytes, std::chrono::milliseconds bound) {
  const Deadline deadline(bound);
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t written = write(master_, bytes.data() + sent, bytes.size() - sent);
    if (written > 0) {
      sent += static_cast<size_t>(written);
      continue;
    }
    if (written < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (deadline.Passed()) return false;
    pollfd wait{master_, POLLOUT, 0};
    poll(&wait, 1, pollSlice(deadline));
  }
  return true;
}

std::vector<uint8_t> PseudoTerminal::Read(size_t count, std::chrono::milliseconds bound) {
  const Deadline deadline(bound);
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  while (bytes.size() < count) {
    const size_t want = std::min(sizeof chunk, count - bytes.size());
    const ssize_t got = read(master_, chunk, want);
    if (got > 0) {
      bytes.insert(bytes.end(), chunk, chunk + got);
      continue;
    }
    if (got < 0 && errno != EAGAIN && errno != EINTR) break;
    if (deadline.Passed()) break;
    pollfd wait{master_, POLLIN, 0};
    poll(&wait, 1, pollSlice(deadline));
  }
  return bytes;
}

std::vector<uint8_t> PseudoTerminal::ReadAvailable() {
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  for (;;) {
    const ssize_t got = read(master_, chunk, sizeof chunk);
    if (got <= 0) return bytes;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
}

uint32_t AbsentPortNumber(uint32_t first) {
  uint32_t number = first;
  while (PathExists(ResolvePortPath(PortDeviceName(number)))) ++number;
  return number;
}
