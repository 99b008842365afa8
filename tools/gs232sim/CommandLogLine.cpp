#include "tools/gs232sim/CommandLogLine.h"

std::string CommandLogLine(std::chrono::milliseconds sinceStart, std::string_view command) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string line = std::to_string(sinceStart.count()) + '\t';
  for (std::size_t i = 0; i < command.size(); ++i) {
    const auto byte = static_cast<unsigned char>(command[i]);
    if (i > 0) line += ' ';
    line += kHexDigits[byte >> 4];
    line += kHexDigits[byte & 0x0F];
  }
  line += '\n';
  return line;
}
