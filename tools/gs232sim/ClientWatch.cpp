#include "tools/gs232sim/ClientWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "tools/gs232sim/SystemCall.h"

ClientWatch::ClientWatch(const std::string& path)
    : inotify_(CheckSystemCall(inotify_init1(IN_NONBLOCK | IN_CLOEXEC), "inotify_init1")) {
  CheckSystemCall(inotify_add_watch(Fd(), path.c_str(), IN_OPEN | IN_CLOSE),
                  "inotify_add_watch " + path);
}

std::vector<ClientChange> ClientWatch::TakeChanges() {
  std::vector<ClientChange> changes;
  alignas(inotify_event) std::array<char, 4096> buffer;
  while (true) {
    const ssize_t length = read(Fd(), buffer.data(), buffer.size());
    if (length < 0) {
      if (WouldBlockOrInterrupted(errno)) return changes;
      ThrowSystemError("read inotify");
    }
    if (length == 0) return changes;
    for (ssize_t pos = 0; pos + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
      inotify_event event;
      std::memcpy(&event, buffer.data() + pos, sizeof event);
      apply(event.mask, changes);
      pos += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
    }
  }
}

void ClientWatch::apply(unsigned mask, std::vector<ClientChange>& changes) {
  if (mask & IN_IGNORED) throw std::runtime_error("the terminal's device node went away");
  if (mask & IN_Q_OVERFLOW) {
    // Events were lost, so the count is unknown; assuming a client keeps
    // serving, which is the safe side.
    if (openCount_ == 0) changes.push_back(ClientChange::FirstArrived);
    openCount_ = 1;
    return;
  }
  if (mask & IN_OPEN) {
    if (++openCount_ == 1) changes.push_back(ClientChange::FirstArrived);
  }
  if ((mask & IN_CLOSE) && openCount_ > 0) {
    if (--openCount_ == 0) changes.push_back(ClientChange::LastLeft);
  }
}
