#include "tools/gs232sim/PseudoTerminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>

#include "tools/gs232sim/SystemCall.h"

PseudoTerminal::PseudoTerminal()
    : master_(CheckSystemCall(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC), "posix_openpt")) {
  CheckSystemCall(grantpt(Master()), "grantpt");
  CheckSystemCall(unlockpt(Master()), "unlockpt");
  const char* path = ptsname(Master());
  if (path == nullptr) ThrowSystemError("ptsname");
  clientPath_ = path;

  const int flags = CheckSystemCall(fcntl(Master(), F_GETFL), "fcntl F_GETFL");
  CheckSystemCall(fcntl(Master(), F_SETFL, flags | O_NONBLOCK), "fcntl F_SETFL");

  // Raw, so that nothing the simulator sends is echoed back to it or altered
  // before a client has set the line up itself.
  client_ = UniqueFd(CheckSystemCall(open(clientPath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC),
                                     "open " + clientPath_));
  termios settings{};
  CheckSystemCall(tcgetattr(client_.Get(), &settings), "tcgetattr");
  cfmakeraw(&settings);
  CheckSystemCall(tcsetattr(client_.Get(), TCSANOW, &settings), "tcsetattr");
}

void PseudoTerminal::DiscardUnread() {
  CheckSystemCall(tcflush(client_.Get(), TCIFLUSH), "tcflush");
}

void PseudoTerminal::ReleaseExclusive() {
  CheckSystemCall(ioctl(client_.Get(), TIOCNXCL), "ioctl TIOCNXCL");
}
