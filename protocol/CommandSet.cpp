#include "protocol/CommandSet.h"

#include <stdexcept>

#include "protocol/AngleField.h"

namespace {

constexpr char kAxis1Placeholder = '1';
constexpr char kAxis2Placeholder = '2';

}  // namespace

const CommandEntry& CommandInfo(RotatorCommand command) {
  for (const CommandEntry& entry : kCommandTable) {
    if (entry.Command == command) {
      return entry;
    }
  }
  throw std::invalid_argument("unknown rotator command");
}

BuiltCommand BuildCommand(RotatorCommand command, const TargetReader& target,
                          CommandBuffer& CmdBuf) {
  size_t length = 0;
  for (const char byte : CommandInfo(command).Template) {
    if (byte == kAxis1Placeholder || byte == kAxis2Placeholder) {
      const int axis = byte == kAxis1Placeholder ? 1 : 2;
      const std::optional<AngleField> field = FormatAngle3(target(axis));
      if (!field) {
        return BuiltCommand{0, axis};
      }
      for (const uint8_t digit : *field) {
        CmdBuf.at(length++) = digit;
      }
    } else {
      CmdBuf.at(length++) = static_cast<uint8_t>(byte);
    }
  }
  return BuiltCommand{length, 0};
}
