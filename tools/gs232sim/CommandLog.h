#pragma once
// The file the received commands are logged to, one line each (see
// CommandLogLine), written straight through so a reader sees every line at once.

#include <string>
#include <string_view>

#include "tools/gs232sim/UniqueFd.h"

class CommandLog {
 public:
  // Creates or truncates path. Throws std::system_error.
  explicit CommandLog(const std::string& path);

  // Writes the whole line. Throws std::system_error.
  void Write(std::string_view line);

 private:
  UniqueFd file_;
  std::string path_;
};
