#include "tests/journeys/PrivateXServer.h"

#include <cstdlib>
#include <stdexcept>

#include "tests/tools/TestPatience.h"

// Xvfb picks a free display number and writes it to descriptor 1 once it accepts clients; its
// chatter on standard error is of no interest.
PrivateXServer::PrivateXServer()
    : server_("/bin/sh",
              {"-c", "exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null"}) {
  std::string line = server_.ReadLine(Deadline(kPatience));
  if (line.size() < 2 || line.back() != '\n') {
    throw std::runtime_error("Xvfb reported no display, only '" + line + "'");
  }
  line.pop_back();
  display_ = ":" + line;
  setenv("DISPLAY", display_.c_str(), 1);
  unsetenv("XAUTHORITY");
}
