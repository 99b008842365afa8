#pragma once
// The two axes of the simulated rotator: each turns at a steady speed towards
// its goal and stops there or at its end stop. Time is handed in, never read,
// so the model runs the same under a test's clock and the real one.

#include <array>
#include <chrono>

enum class Axis { Azimuth, Elevation };

class MotionModel {
 public:
  using Clock = std::chrono::steady_clock;

  static constexpr double kAzimuthEndStop = 450.0;
  static constexpr double kElevationEndStop = 180.0;
  static constexpr int kSlowestSpeedStep = 1;
  static constexpr int kFastestSpeedStep = 4;

  // Starts at rest at the given positions (clamped to the end stops), at the
  // fastest speed step, where an axis turns degreesPerSecond.
  MotionModel(double azimuth, double elevation, double degreesPerSecond, Clock::time_point start);

  // Moves both axes by the time passed since the previous call. A time earlier
  // than the previous one moves nothing.
  void AdvanceTo(Clock::time_point now);

  // Sets the goal of an axis, clamped to 0 and its end stop. Call AdvanceTo
  // first so the time before the change is spent on the old goal.
  void MoveTo(Axis axis, double goal);
  // Stops an axis where it is.
  void Stop(Axis axis);
  // Speed steps 1 to 4 turn at a quarter, half, three quarters and all of the
  // full speed; other steps are ignored.
  void SetSpeedStep(int step);

  double Position(Axis axis) const;
  // The position as the controller reports it: rounded to whole degrees.
  int ReportedPosition(Axis axis) const;
  bool Moving(Axis axis) const;
  double DegreesPerSecond() const;

  static double EndStop(Axis axis);

 private:
  struct AxisState {
    double position;
    double goal;
  };

  AxisState& state(Axis axis);
  const AxisState& state(Axis axis) const;

  std::array<AxisState, 2> axes_;
  double fullSpeed_;
  int speedStep_ = kFastestSpeedStep;
  Clock::time_point lastUpdate_;
};
