#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a readable descriptor, so the main
// loop ends cleanly (and removes its link) instead of dying in the middle.

#include "tools/gs232sim/UniqueFd.h"

class StopSignals {
 public:
  // Installs the handlers and ignores SIGPIPE. One instance per process.
  // Throws std::system_error.
  StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;
  // Restores the default handlers.
  ~StopSignals();

  // Readable once a stop signal has arrived.
  int Fd() const { return readEnd_.Get(); }

 private:
  UniqueFd readEnd_;
  UniqueFd writeEnd_;
};
