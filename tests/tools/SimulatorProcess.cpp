#include "tests/tools/SimulatorProcess.h"

#include <stdexcept>

#include "tests/tools/TestPatience.h"

SimulatorProcess::SimulatorProcess(const std::vector<std::string>& options)
    : process_(GS232SIM_PATH, options) {
  const std::string line = process_.ReadLine(Deadline(kPatience));
  if (line.size() < 2 || line.back() != '\n') {
    throw std::runtime_error("gs232sim printed no terminal path, only '" + line + "'");
  }
  clientPath_ = line.substr(0, line.size() - 1);
}

std::optional<int> SimulatorProcess::Stop(int signal) {
  process_.Signal(signal);
  return process_.Wait(Deadline(kPatience));
}
