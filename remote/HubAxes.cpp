#include "remote/HubAxes.h"

#include <array>
#include <cmath>

namespace {

constexpr double kMinAzimuth = -180;
constexpr double kMaxAzimuth = 450;
constexpr double kMinElevation = 0;
constexpr double kMaxElevation = 180;
constexpr double kTurn = 360;

struct AxisLayout {
  bool TwoAxes;
  // Axis 1 is an elevation axis (configuration 1).
  bool Axis1Elevation;
  // Axis 2 is a second azimuth axis (configuration 3).
  bool Axis2Azimuth;
};

constexpr std::array<AxisLayout, 4> kLayouts{{
    {false, false, false},
    {false, true, false},
    {true, false, false},
    {true, false, true},
}};

AxisLayout layoutOf(int32_t config) {
  return config >= 0 && config < static_cast<int32_t>(kLayouts.size()) ? kLayouts[config]
                                                                       : kLayouts[0];
}

bool within(double value, double low, double high) {
  return std::isfinite(value) && value >= low && value <= high;
}

int64_t wholeDegrees(double angle) { return static_cast<int64_t>(std::trunc(angle)); }

int64_t azimuthDegrees(double azimuth) {
  return wholeDegrees(azimuth < 0 ? azimuth + kTurn : azimuth);
}

}  // namespace

HubLimits LimitsFor(int32_t config) {
  const AxisLayout layout = layoutOf(config);
  if (layout.Axis2Azimuth) return {kMinAzimuth, kMaxAzimuth, kMinAzimuth, kMaxAzimuth, "AzEl"};
  const std::string_view type = layout.TwoAxes ? "AzEl" : layout.Axis1Elevation ? "El" : "Az";
  return {kMinAzimuth, kMaxAzimuth, kMinElevation, kMaxElevation, type};
}

std::optional<HubCommand> SetPosCommand(int32_t config, double az, double el) {
  const HubLimits limits = LimitsFor(config);
  if (!within(az, limits.MinAz, limits.MaxAz) || !within(el, limits.MinEl, limits.MaxEl)) {
    return std::nullopt;
  }
  const AxisLayout layout = layoutOf(config);
  if (!layout.TwoAxes) {
    const int64_t target = layout.Axis1Elevation ? wholeDegrees(el) : azimuthDegrees(az);
    return HubCommand{RotatorCommand::GoAxis1, false, target, 0};
  }
  const int64_t second = layout.Axis2Azimuth ? azimuthDegrees(el) : wholeDegrees(el);
  return HubCommand{RotatorCommand::GoBoth, false, azimuthDegrees(az), second};
}

std::optional<int> DirectionNamed(std::string_view text) {
  if (text == "LEFT" || text == "CCW") return DirectionLeft;
  if (text == "RIGHT" || text == "CW") return DirectionRight;
  if (text == "UP") return DirectionUp;
  if (text == "DOWN") return DirectionDown;
  return std::nullopt;
}

std::optional<HubCommand> MoveCommand(int32_t config, int direction) {
  const AxisLayout layout = layoutOf(config);
  const auto turn = [](RotatorCommand command) { return HubCommand{command, false, 0, 0}; };
  if (layout.Axis1Elevation) {
    if (direction == DirectionUp) return turn(RotatorCommand::TurnAxis1Cw);
    if (direction == DirectionDown) return turn(RotatorCommand::TurnAxis1Ccw);
    return std::nullopt;
  }
  if (direction == DirectionLeft) return turn(RotatorCommand::TurnAxis1Ccw);
  if (direction == DirectionRight) return turn(RotatorCommand::TurnAxis1Cw);
  if (layout.TwoAxes && direction == DirectionUp) return turn(RotatorCommand::TurnAxis2Up);
  if (layout.TwoAxes && direction == DirectionDown) return turn(RotatorCommand::TurnAxis2Down);
  return std::nullopt;
}

HubCommand ParkCommand(int32_t config) {
  const RotatorCommand command =
      layoutOf(config).TwoAxes ? RotatorCommand::GoBoth : RotatorCommand::GoAxis1;
  return HubCommand{command, true, 0, 0};
}

HubAngles ReportedAngles(int32_t config, int32_t position1, int32_t position2) {
  const AxisLayout layout = layoutOf(config);
  if (layout.TwoAxes) return {position1, position2};
  return layout.Axis1Elevation ? HubAngles{0, position1} : HubAngles{position1, 0};
}

bool HasTwoAxes(int32_t config) { return layoutOf(config).TwoAxes; }
