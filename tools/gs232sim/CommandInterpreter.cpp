#include "tools/gs232sim/CommandInterpreter.h"

#include <cctype>
#include <optional>

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';

std::string upperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The three-digit angle field at pos, or nothing when those are not exactly
// three digits.
std::optional<int> angleField(std::string_view text, std::size_t pos) {
  if (text.size() < pos + 3) return std::nullopt;
  int value = 0;
  for (std::size_t i = pos; i < pos + 3; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// The angle of a command that is a prefix followed by exactly three digits.
std::optional<int> angleAfter(std::string_view command, std::string_view prefix) {
  if (command.size() != prefix.size() + 3 || !command.starts_with(prefix)) return std::nullopt;
  return angleField(command, prefix.size());
}

}  // namespace

CommandInterpreter::CommandInterpreter(MotionModel& motion, ReplyProfile profile)
    : motion_(motion), profile_(profile) {}

std::vector<Exchange> CommandInterpreter::Feed(std::string_view bytes,
                                               MotionModel::Clock::time_point now) {
  std::vector<Exchange> exchanges;
  for (const char byte : bytes) {
    if (byte == kLf) continue;
    if (byte != kCr) {
      // What is cut off never matters: no command is that long.
      if (pending_.size() + 1 < kMaxCommandLength) pending_.push_back(byte);
      continue;
    }
    std::string reply = execute(pending_, now);
    exchanges.push_back(Exchange{pending_ + kCr, std::move(reply)});
    pending_.clear();
  }
  return exchanges;
}

std::string CommandInterpreter::execute(std::string_view command,
                                        MotionModel::Clock::time_point now) {
  motion_.AdvanceTo(now);
  const std::string upper = upperCase(command);
  std::string report = positionReply(upper);
  if (!report.empty()) return report;
  return std::string(executeMotion(upper) ? kAcknowledge : kRejection);
}

std::string CommandInterpreter::positionReply(std::string_view command) const {
  const int azimuth = motion_.ReportedPosition(Axis::Azimuth);
  const int elevation = motion_.ReportedPosition(Axis::Elevation);
  if (command == "C") return profile_.AzimuthReport(azimuth);
  if (command == "C2") return profile_.BothReport(azimuth, elevation);
  if (command == "B") return profile_.ElevationReport(elevation);
  return {};
}

bool CommandInterpreter::executeMotion(std::string_view command) {
  if (command.size() == 1) {
    switch (command[0]) {
      case 'S':
        motion_.Stop(Axis::Azimuth);
        motion_.Stop(Axis::Elevation);
        return true;
      case 'A':
        motion_.Stop(Axis::Azimuth);
        return true;
      case 'E':
        motion_.Stop(Axis::Elevation);
        return true;
      case 'L':
        motion_.MoveTo(Axis::Azimuth, 0.0);
        return true;
      case 'R':
        motion_.MoveTo(Axis::Azimuth, MotionModel::kAzimuthEndStop);
        return true;
      case 'D':
        motion_.MoveTo(Axis::Elevation, 0.0);
        return true;
      case 'U':
        motion_.MoveTo(Axis::Elevation, MotionModel::kElevationEndStop);
        return true;
      default:
        return false;
    }
  }
  if (command.size() == 2 && command[0] == 'X' && command[1] >= '1' && command[1] <= '4') {
    motion_.SetSpeedStep(command[1] - '0');
    return true;
  }
  if (const auto elevation = angleAfter(command, "MB")) {
    motion_.MoveTo(Axis::Elevation, *elevation);
    return true;
  }
  if (const auto azimuth = angleAfter(command, "M")) {
    motion_.MoveTo(Axis::Azimuth, *azimuth);
    return true;
  }
  if (command.size() == 8 && command[0] == 'W' && command[4] == ' ') {
    const auto azimuth = angleField(command, 1);
    const auto elevation = angleField(command, 5);
    if (!azimuth || !elevation) return false;
    motion_.MoveTo(Axis::Azimuth, *azimuth);
    motion_.MoveTo(Axis::Elevation, *elevation);
    return true;
  }
  return false;
}
