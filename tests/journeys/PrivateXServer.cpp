#include "tests/journeys/PrivateXServer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "tests/journeys/ToolRun.h"
#include "tests/tools/TestPatience.h"

namespace {

// Servers started by other tests at the same moment may race for the same display number;
// the loser's display then takes no clients, and a new server picks another number.
constexpr int kAttempts = 3;

// Held while a server starts, so the journeys running side by side start theirs one by one.
class StartLock {
 public:
  StartLock() : fd_(open("/tmp/azimara-journeys-xvfb.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    if (fd_ >= 0) (void)flock(fd_, LOCK_EX);
  }
  StartLock(const StartLock&) = delete;
  StartLock& operator=(const StartLock&) = delete;
  ~StartLock() {
    if (fd_ >= 0) close(fd_);
  }

 private:
  int fd_;
};

}  // namespace

PrivateXServer::PrivateXServer() {
  const StartLock lock;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (start()) {
      setenv("DISPLAY", display_.c_str(), 1);
      unsetenv("XAUTHORITY");
      return;
    }
  }
  throw std::runtime_error("no Xvfb server took clients");
}

// Xvfb picks a free display number and writes it to descriptor 1 once it accepts clients; its
// chatter on standard error is of no interest. Without -noreset it resets whenever its last
// client leaves (the check below, say), and a client connecting meanwhile is turned away.
bool PrivateXServer::start() {
  server_.reset();
  server_.emplace("/bin/sh", std::vector<std::string>{
                                 "-c",
                                 "exec Xvfb -displayfd 1 -noreset -screen 0 1024x768x24 -nolisten tcp "
                                 "2>/dev/null"});
  std::string line = server_->ReadLine(Deadline(kPatience));
  if (line.size() < 2 || line.back() != '\n') return false;
  line.pop_back();
  display_ = ":" + line;
  return RunTool("xdpyinfo", {"-display", display_}).Succeeded();
}
