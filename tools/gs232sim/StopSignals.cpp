#include "tools/gs232sim/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "tools/gs232sim/SystemCall.h"

namespace {

constexpr std::array<int, 3> kStopSignals{SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t stopPipeWriteFd = -1;

void onStopSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  // A full pipe already holds a stop request, so a failed write loses nothing.
  [[maybe_unused]] const ssize_t written = write(stopPipeWriteFd, &byte, 1);
  errno = savedErrno;
}

void setNonBlockingCloseOnExec(int fd) {
  const int flags = CheckSystemCall(fcntl(fd, F_GETFL), "fcntl F_GETFL");
  CheckSystemCall(fcntl(fd, F_SETFL, flags | O_NONBLOCK), "fcntl F_SETFL");
  CheckSystemCall(fcntl(fd, F_SETFD, FD_CLOEXEC), "fcntl F_SETFD");
}

void setHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  CheckSystemCall(sigemptyset(&action.sa_mask), "sigemptyset");
  CheckSystemCall(sigaction(signal, &action, nullptr), "sigaction");
}

}  // namespace

StopSignals::StopSignals() {
  std::array<int, 2> ends{};
  CheckSystemCall(pipe(ends.data()), "pipe");
  readEnd_ = UniqueFd(ends[0]);
  writeEnd_ = UniqueFd(ends[1]);
  setNonBlockingCloseOnExec(ends[0]);
  setNonBlockingCloseOnExec(ends[1]);
  stopPipeWriteFd = ends[1];
  for (const int signal : kStopSignals) setHandler(signal, onStopSignal);
  setHandler(SIGPIPE, SIG_IGN);
}

StopSignals::~StopSignals() {
  for (const int signal : kStopSignals) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigaction(signal, &action, nullptr);
  }
  stopPipeWriteFd = -1;
}
