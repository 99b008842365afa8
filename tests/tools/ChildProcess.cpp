#include "tests/tools/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <utility>

extern char** environ;

namespace {

void check(int result, const char* what) {
  if (result != 0) throw std::runtime_error(std::string(what) + ": " + std::strerror(result));
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args) {
  std::array<int, 2> pipeEnds{};
  if (pipe(pipeEnds.data()) != 0) throw std::runtime_error("pipe failed");
  stdout_ = pipeEnds[0];

  posix_spawn_file_actions_t actions;
  check(posix_spawn_file_actions_init(&actions), "posix_spawn_file_actions_init");
  check(posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0),
        "addopen");
  check(posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO), "adddup2");
  check(posix_spawn_file_actions_addclose(&actions, pipeEnds[0]), "addclose");
  check(posix_spawn_file_actions_addclose(&actions, pipeEnds[1]), "addclose");

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  const int spawned = posix_spawnp(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    close(stdout_);
    throw std::runtime_error("cannot start " + program + ": " + std::strerror(spawned));
  }
}

ChildProcess::~ChildProcess() {
  if (!status_) {
    kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
  }
  close(stdout_);
}

std::string ChildProcess::ReadLine(const Deadline& deadline) {
  while (unread_.find('\n') == std::string::npos && readMore(unread_, deadline)) {
  }
  const std::size_t end = unread_.find('\n');
  const std::size_t length = end == std::string::npos ? unread_.size() : end + 1;
  std::string line = unread_.substr(0, length);
  unread_.erase(0, length);
  return line;
}

std::string ChildProcess::ReadAll(const Deadline& deadline) {
  while (readMore(unread_, deadline)) {
  }
  return std::exchange(unread_, {});
}

bool ChildProcess::readMore(std::string& into, const Deadline& deadline) {
  pollfd fd{stdout_, POLLIN, 0};
  const int ready = poll(&fd, 1, static_cast<int>(deadline.Remaining().count()));
  if (ready < 0 && errno == EINTR) return true;
  if (ready <= 0) return false;
  std::array<char, 4096> buffer;
  const ssize_t length = read(stdout_, buffer.data(), buffer.size());
  if (length <= 0) return length < 0 && errno == EINTR;
  into.append(buffer.data(), static_cast<std::size_t>(length));
  return true;
}

void ChildProcess::Signal(int signal) const {
  if (!status_) kill(pid_, signal);
}

std::optional<int> ChildProcess::Wait(const Deadline& deadline) {
  while (!status_) {
    int status = 0;
    const pid_t ended = waitpid(pid_, &status, WNOHANG);
    if (ended == pid_) {
      status_ = status;
    } else if (deadline.Passed()) {
      return std::nullopt;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  return status_;
}
