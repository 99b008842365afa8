#include "tests/tools/RawPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

RawPort::RawPort(const std::string& path)
    : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
  if (fd_ < 0) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
  termios settings{};
  if (tcgetattr(fd_, &settings) != 0 || cfsetspeed(&settings, B9600) != 0) {
    close(fd_);
    throw std::runtime_error("cannot read the settings of " + path);
  }
  cfmakeraw(&settings);
  if (tcsetattr(fd_, TCSANOW, &settings) != 0) {
    close(fd_);
    throw std::runtime_error("cannot set up " + path);
  }
}

RawPort::~RawPort() { close(fd_); }

void RawPort::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error(std::string("write failed: ") + std::strerror(errno));
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

std::string RawPort::Read(std::size_t count, const Deadline& deadline) {
  std::string bytes;
  while (bytes.size() < count) {
    const std::string more = ReadSome(deadline);
    if (more.empty()) break;
    bytes += more;
  }
  return bytes;
}

std::string RawPort::ReadUntil(char terminator, const Deadline& deadline) {
  std::string bytes;
  while (bytes.find(terminator) == std::string::npos) {
    const std::string more = ReadSome(deadline);
    if (more.empty()) break;
    bytes += more;
  }
  return bytes;
}

std::string RawPort::ReadSome(const Deadline& deadline) {
  while (true) {
    pollfd fd{fd_, POLLIN, 0};
    const int ready = poll(&fd, 1, static_cast<int>(deadline.Remaining().count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return {};
    std::array<char, 1024> buffer;
    const ssize_t length = read(fd_, buffer.data(), buffer.size());
    if (length > 0) return std::string(buffer.data(), static_cast<std::size_t>(length));
    if (length < 0 && errno != EAGAIN && errno != EINTR) return {};
    if (deadline.Passed()) return {};
  }
}

void RawPort::MakeExclusive() {
  if (ioctl(fd_, TIOCEXCL) != 0) throw std::runtime_error("TIOCEXCL failed");
}

bool RawPort::Exclusive() const {
  int exclusive = 0;
  if (ioctl(fd_, TIOCGEXCL, &exclusive) != 0) throw std::runtime_error("TIOCGEXCL failed");
  return exclusive != 0;
}
