#include <gtest/gtest.h>

#include <chrono>

#include "tools/gs232sim/MotionModel.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

const MotionModel::Clock::time_point kStart{};
constexpr double kSpeed = 10.0;  // degrees per second at X4

TEST(MotionModel, TurnsAtItsSpeedAndStopsAtTheGoal) {
  MotionModel model(0, 0, kSpeed, kStart);
  model.MoveTo(Axis::Azimuth, 100);
  model.MoveTo(Axis::Elevation, 30);
  model.AdvanceTo(kStart + seconds(2));
  EXPECT_DOUBLE_EQ(model.Position(Axis::Azimuth), 2 * kSpeed);
  EXPECT_DOUBLE_EQ(model.Position(Axis::Elevation), 2 * kSpeed);
  EXPECT_TRUE(model.Moving(Axis::Azimuth));

  model.AdvanceTo(kStart + seconds(4));
  EXPECT_DOUBLE_EQ(model.Position(Axis::Elevation), 30);
  EXPECT_FALSE(model.Moving(Axis::Elevation));
  model.AdvanceTo(kStart + seconds(60));
  EXPECT_DOUBLE_EQ(model.Position(Axis::Azimuth), 100);
  EXPECT_FALSE(model.Moving(Axis::Azimuth));
}

TEST(MotionModel, GoalsAndStartBeyondTheEndStopsAreClamped) {
  MotionModel model(999, -5, kSpeed, kStart);
  EXPECT_DOUBLE_EQ(model.Position(Axis::Azimuth), MotionModel::kAzimuthEndStop);
  EXPECT_DOUBLE_EQ(model.Position(Axis::Elevation), 0);

  model.MoveTo(Axis::Azimuth, -20);
  model.MoveTo(Axis::Elevation, 500);
  model.AdvanceTo(kStart + seconds(1000));
  EXPECT_DOUBLE_EQ(model.Position(Axis::Azimuth), 0);
  EXPECT_DOUBLE_EQ(model.Position(Axis::Elevation), MotionModel::kElevationEndStop);
}

TEST(MotionModel, SpeedStepsScaleTheFullSpeed) {
  for (int step = MotionModel::kSlowestSpeedStep; step <= MotionModel::kFastestSpeedStep; ++step) {
    MotionModel model(0, 0, kSpeed, kStart);
    model.SetSpeedStep(step);
    model.MoveTo(Axis::Azimuth, 450);
    model.AdvanceTo(kStart + seconds(4));
    EXPECT_DOUBLE_EQ(model.Position(Axis::Azimuth), 4 * kSpeed * step / 4) << "X" << step;
  }
}

TEST(MotionModel, UnknownSpeedStepsAreIgnored) {
  MotionModel model(0, 0, kSpeed, kStart);
  model.SetSpeedStep(2);
  model.SetSpeedStep(0);
  model.SetSpeedStep(5);
  EXPECT_DOUBLE_EQ(model.DegreesPerSecond(), kSpeed / 2);
}

TEST(MotionModel, TimeBeforeTheLastUpdateMovesNothing) {
  MotionModel model(0, 0, kSpeed, kStart + seconds(10));
  model.MoveTo(Axis::Azimuth, 100);
  model.AdvanceTo(kStart + seconds(5));
  EXPECT_DOUBLE_EQ(model.Position(Axis::Azimuth), 0);
  model.AdvanceTo(kStart + seconds(11));
  EXPECT_DOUBLE_EQ(model.Position(Axis::Azimuth), kSpeed);
}

TEST(MotionModel, ReportedPositionIsRoundedToWholeDegrees) {
  MotionModel model(0, 0, kSpeed, kStart);
  model.MoveTo(Axis::Azimuth, 100);
  model.AdvanceTo(kStart + milliseconds(140));  // 1.4 degrees
  EXPECT_EQ(model.ReportedPosition(Axis::Azimuth), 1);
  model.AdvanceTo(kStart + milliseconds(160));  // 1.6 degrees
  EXPECT_EQ(model.ReportedPosition(Axis::Azimuth), 2);
}

}  // namespace
