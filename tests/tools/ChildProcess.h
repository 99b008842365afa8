#pragma once
// A program started for a test, with no standard input and its standard
// output on a pipe. The destructor kills and reaps it, so a failing test
// leaves nothing behind.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "serial/Deadline.h"

class ChildProcess {
 public:
  // Starts program (searched on PATH when it has no slash) with args.
  // Throws std::runtime_error when it cannot be started.
  ChildProcess(const std::string& program, const std::vector<std::string>& args);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // Standard output up to and including the first newline, or what came
  // before the deadline or the end.
  std::string ReadLine(const Deadline& deadline);
  // Standard output up to its end, or what came before the deadline.
  std::string ReadAll(const Deadline& deadline);

  pid_t Pid() const { return pid_; }
  void Signal(int signal) const;
  // The wait status once the program has ended, nothing at the deadline.
  std::optional<int> Wait(const Deadline& deadline);

 private:
  // Appends what the pipe holds, waiting until the deadline; false at its end.
  bool readMore(std::string& into, const Deadline& deadline);

  pid_t pid_ = -1;
  int stdout_ = -1;
  std::optional<int> status_;
  std::string unread_;
};
