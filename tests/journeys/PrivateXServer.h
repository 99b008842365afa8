#pragma once
// An Xvfb server of its own for one test (1024 x 768, 24 bits, no TCP), made the display of
// everything the test starts afterwards. The display of the session running the tests is
// never used.

#include <optional>
#include <string>

#include "tests/tools/ChildProcess.h"

class PrivateXServer {
 public:
  // Throws std::runtime_error when no server could be started that accepts clients.
  PrivateXServer();

  const std::string& Display() const { return display_; }

 private:
  // Starts a server and returns whether a client could connect to the display it reported.
  bool start();

  std::optional<ChildProcess> server_;
  std::string display_;
};
