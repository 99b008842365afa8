#include "tools/gs232sim/MotionModel.h"

#include <algorithm>
#include <cmath>

namespace {

double clampToRange(double value, double endStop) {
  if (!std::isfinite(value)) return 0.0;
  return std::clamp(value, 0.0, endStop);
}

// One step of an axis towards its goal, never past it.
double stepTowards(double position, double goal, double maxStep) {
  if (goal > position) return std::min(goal, position + maxStep);
  return std::max(goal, position - maxStep);
}

}  // namespace

MotionModel::MotionModel(double azimuth, double elevation, double degreesPerSecond,
                         Clock::time_point start)
    : fullSpeed_(degreesPerSecond), lastUpdate_(start) {
  const double az = clampToRange(azimuth, kAzimuthEndStop);
  const double el = clampToRange(elevation, kElevationEndStop);
  axes_ = {AxisState{az, az}, AxisState{el, el}};
}

void MotionModel::AdvanceTo(Clock::time_point now) {
  if (now <= lastUpdate_) return;
  const double seconds = std::chrono::duration<double>(now - lastUpdate_).count();
  lastUpdate_ = now;
  const double maxStep = DegreesPerSecond() * seconds;
  for (AxisState& axis : axes_) axis.position = stepTowards(axis.position, axis.goal, maxStep);
}

void MotionModel::MoveTo(Axis axis, double goal) {
  state(axis).goal = clampToRange(goal, EndStop(axis));
}

void MotionModel::Stop(Axis axis) { state(axis).goal = state(axis).position; }

void MotionModel::SetSpeedStep(int step) {
  if (step >= kSlowestSpeedStep && step <= kFastestSpeedStep) speedStep_ = step;
}

double MotionModel::Position(Axis axis) const { return state(axis).position; }

int MotionModel::ReportedPosition(Axis axis) const {
  return static_cast<int>(std::lround(Position(axis)));
}

bool MotionModel::Moving(Axis axis) const { return state(axis).goal != state(axis).position; }

double MotionModel::DegreesPerSecond() const { return fullSpeed_ * speedStep_ / kFastestSpeedStep; }

double MotionModel::EndStop(Axis axis) {
  return axis == Axis::Azimuth ? kAzimuthEndStop : kElevationEndStop;
}

MotionModel::AxisState& MotionModel::state(Axis axis) {
  return axes_[axis == Axis::Azimuth ? 0 : 1];
}

const MotionModel::AxisState& MotionModel::state(Axis axis) const {
  return axes_[axis == Axis::Azimuth ? 0 : 1];
}
