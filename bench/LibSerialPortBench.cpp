// libserialport, a peer a user might pick instead of the component, on the
// same pseudo-terminal pair as the other receive benchmarks:
//   1. receive throughput: 16 MiB written on the master, read on the slave
//      the way its documentation suggests, sp_wait for RX_READY and then
//      sp_nonblocking_read of what is there;
//   2. one-byte round trip: the master writes a byte, the slave side reads it
//      with sp_blocking_read and answers it plus one with sp_blocking_write.
// Needs root, for the mount namespace below.

#include <dlfcn.h>
#include <libserialport.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench/PtyBenchSupport.h"

// libserialport reads and sets the modem lines as it opens a port, which a
// pseudo-terminal refuses (ENOTTY). Calls from the library come here first:
// a terminal without modem lines then has all of them low and takes changes
// to none, as a three-wire line would; every other request goes on as is.
extern "C" int ioctl(int fd, unsigned long request, ...) {
  using Ioctl = int (*)(int, unsigned long, void*);
  static const auto next = reinterpret_cast<Ioctl>(dlsym(RTLD_NEXT, "ioctl"));
  va_list arguments;
  va_start(arguments, request);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  const int result = next(fd, request, argument);
  const bool modemLines =
      request == TIOCMGET || request == TIOCMSET || request == TIOCMBIS || request == TIOCMBIC;
  if (result < 0 && errno == ENOTTY && modemLines) {
    if (request == TIOCMGET) *static_cast<int*>(argument) = 0;
    return 0;
  }
  return result;
}

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 2000;

// libserialport takes only ports it finds under /sys/class/tty, where
// pseudo-terminals have no entry. In a mount namespace of this process alone
// (as root), a small directory over /sys/class/tty gives the slave one, so
// the library treats it as the plain native port it is.
bool listInSysfs(const std::string& slavePath) {
  static const bool privateMounts =
      unshare(CLONE_NEWNS) == 0 &&
      mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
      mount("tmpfs", "/sys/class/tty", "tmpfs", 0, nullptr) == 0 &&
      mkdir("/sys/class/tty/pts", 0755) == 0;
  if (!privateMounts) return false;
  const std::string entry = "/sys/class/tty/" + slavePath.substr(std::strlen("/dev/"));
  unlink(entry.c_str());
  return symlink("../../devices/virtual/tty/pts", entry.c_str()) == 0;
}

// The slave of pty opened by libserialport at 115200 8N1, or none.
sp_port* openSlave(const PseudoTerminal& pty) {
  if (!listInSysfs(pty.SlavePath())) {
    std::fprintf(stderr, "libserialport: cannot list %s in a private /sys/class/tty (not root?)\n",
                 pty.SlavePath().c_str());
    return nullptr;
  }
  sp_port* port = nullptr;
  if (sp_get_port_by_name(pty.SlavePath().c_str(), &port) != SP_OK) {
    std::fprintf(stderr, "libserialport: %s\n", sp_last_error_message());
    return nullptr;
  }
  if (sp_open(port, SP_MODE_READ_WRITE) != SP_OK || sp_set_baudrate(port, 115200) != SP_OK ||
      sp_set_bits(port, 8) != SP_OK || sp_set_parity(port, SP_PARITY_NONE) != SP_OK ||
      sp_set_stopbits(port, 1) != SP_OK || sp_set_flowcontrol(port, SP_FLOWCONTROL_NONE) != SP_OK) {
    std::fprintf(stderr, "libserialport: %s\n", sp_last_error_message());
    sp_free_port(port);
    return nullptr;
  }
  return port;
}

bool receiveRun(const std::vector<uint8_t>& bytes) {
  PseudoTerminal pty;
  sp_port* port = openSlave(pty);
  if (port == nullptr) return false;
  sp_event_set* events = nullptr;
  sp_new_event_set(&events);
  sp_add_port_events(events, port, SP_EVENT_RX_READY);
  const auto start = Clock::now();
  std::thread writer([&] { FeedStream(pty, bytes); });
  std::vector<uint8_t> buffer(4096);
  size_t received = 0;
  uint64_t sum = 0;
  while (received < kStreamBytes) {
    sp_wait(events, 100);
    const int got = sp_nonblocking_read(port, buffer.data(), buffer.size());
    if (got < 0) break;
    for (int i = 0; i < got; ++i) sum += buffer[static_cast<size_t>(i)];
    received += static_cast<size_t>(got);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  writer.join();
  sp_free_event_set(events);
  sp_close(port);
  sp_free_port(port);
  const bool ok = received == kStreamBytes && sum == StreamSum(bytes);
  std::printf(
      "libserialport sp_wait + sp_nonblocking_read: %zu bytes in %.3f s = %7.1f MB/s"
      " (checksum %s)\n",
      kStreamBytes, seconds, static_cast<double>(kStreamBytes) / seconds / 1e6,
      ok ? "ok" : "WRONG");
  return ok;
}

bool roundTripRun() {
  PseudoTerminal pty;
  sp_port* port = openSlave(pty);
  if (port == nullptr) return false;
  std::thread echo([&] {
    for (int round = 0; round < kRounds; ++round) {
      uint8_t ch = 0;
      if (sp_blocking_read(port, &ch, 1, 5000) != 1) return;
      const uint8_t answer = static_cast<uint8_t>(ch + 1);
      if (sp_blocking_write(port, &answer, 1, 5000) != 1) return;
    }
  });
  std::vector<double> micros;
  const bool ok = TimeRoundTrips(pty, kRounds, micros);
  echo.join();
  sp_close(port);
  sp_free_port(port);
  if (!ok) return false;
  PrintRoundTrips("libserialport round trip, blocking read + write", micros);
  return true;
}

}  // namespace

int main() {
  const bool receiveOk = receiveRun(StreamBlock());
  const bool roundTripOk = roundTripRun();
  return receiveOk && roundTripOk ? 0 : 1;
}
