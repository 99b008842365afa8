#pragma once
// The running simulator: the terminal, its clients, the controller behind it
// and the one loop that moves bytes between them.

#include <chrono>
#include <optional>

#include "tools/gs232sim/ClientWatch.h"
#include "tools/gs232sim/CommandInterpreter.h"
#include "tools/gs232sim/CommandLog.h"
#include "tools/gs232sim/MotionModel.h"
#include "tools/gs232sim/OutputQueue.h"
#include "tools/gs232sim/PortLink.h"
#include "tools/gs232sim/PseudoTerminal.h"
#include "tools/gs232sim/ReplyShaper.h"
#include "tools/gs232sim/SimulatorOptions.h"
#include "tools/gs232sim/StopSignals.h"

class SimulatorLoop {
 public:
  using Clock = std::chrono::steady_clock;

  // Sets everything up: signals, terminal, client watch, link, log. Throws
  // std::system_error or std::runtime_error.
  explicit SimulatorLoop(const SimulatorOptions& options);

  // Prints the terminal's path on standard output and serves clients until a
  // stop signal arrives. Throws std::system_error or std::runtime_error.
  void Run();

 private:
  bool clientPresent() const;
  void takeClientChanges();
  void readCommands();
  void writeDueOutput();
  int pollTimeoutMs() const;
  bool outputDue() const;

  const Clock::time_point start_;
  const std::size_t floodBytes_;
  StopSignals stopSignals_;
  PseudoTerminal terminal_;
  std::optional<ClientWatch> clients_;
  std::optional<PortLink> link_;
  std::optional<CommandLog> log_;
  MotionModel motion_;
  CommandInterpreter interpreter_;
  ReplyShaper shaper_;
  OutputQueue output_;
};
