#pragma once
// The command line of gs232sim: what it means, how it is read, and the help
// text that explains it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/gs232sim/ReplyProfile.h"
#include "tools/gs232sim/ReplyShaper.h"

struct SimulatorOptions {
  static constexpr double kDefaultDegreesPerSecond = 6.0;
  static constexpr std::size_t kMaxFloodBytes = 16 * 1024 * 1024;

  std::string linkPath;  // empty: no link
  std::string logPath;   // empty: no command log
  int azimuth = 0;
  int elevation = 0;
  double degreesPerSecond = kDefaultDegreesPerSecond;
  ReplyProfile profile;
  ReplyFaults faults;
  std::size_t floodBytes = 0;
  std::optional<std::uint32_t> seed;  // none: a fresh one each run
  bool help = false;
};

// A command line that cannot be used; what() says why.
class OptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name. Options take their value as
// the next argument or after "=" ("--az 90", "--az=90"). Throws OptionError.
SimulatorOptions ParseSimulatorOptions(const std::vector<std::string_view>& args);

// The text --help prints.
std::string SimulatorHelpText();
