#pragma once
// The built gs232sim running for one test: started with the given options,
// its terminal path read from its first line, ended when the test ends.

#include <optional>
#include <string>
#include <vector>

#include "tests/tools/ChildProcess.h"

class SimulatorProcess {
 public:
  // Throws std::runtime_error when the simulator does not print its path.
  explicit SimulatorProcess(const std::vector<std::string>& options);

  const std::string& ClientPath() const { return clientPath_; }
  pid_t Pid() const { return process_.Pid(); }

  // Sends signal and returns the wait status, nothing if it does not end.
  std::optional<int> Stop(int signal);

 private:
  ChildProcess process_;
  std::string clientPath_;
};
