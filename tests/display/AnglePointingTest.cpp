#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "display/AnglePointing.h"

namespace {

struct SamplePoint {
  int32_t X;
  int32_t Y;
  int32_t Azimuth;
  int32_t Elevation;
};

TEST(AngleFromPoint, SamplePoints) {
  const std::vector<SamplePoint> samples = {
      {100, 100, 0, 90},   {100, 0, 360, 90},   {101, 0, 1, 91},     {99, 0, 359, 89},
      {150, 50, 45, 135},  {199, 100, 90, 180}, {199, 101, 91, 180}, {150, 150, 135, 180},
      {100, 199, 180, 90}, {50, 150, 225, 0},   {0, 100, 270, 0},    {50, 50, 315, 45},
      {130, 10, 18, 108},  {190, 95, 87, 177},  {10, 95, 273, 3},    {60, 180, 207, 0},
  };
  for (const SamplePoint& s : samples) {
    EXPECT_EQ(AzimuthFromPoint(s.X, s.Y), s.Azimuth) << s.X << "," << s.Y;
    EXPECT_EQ(ElevationFromPoint(s.X, s.Y), s.Elevation) << s.X << "," << s.Y;
    EXPECT_EQ(AngleFromPoint(DialKind::Azimuth, s.X, s.Y), s.Azimuth);
    EXPECT_EQ(AngleFromPoint(DialKind::Elevation, s.X, s.Y), s.Elevation);
  }
}

// The bearing of a point seen from the centre, 0 up and clockwise, by another route.
double bearingDegrees(int32_t X, int32_t Y) {
  const double degrees = std::atan2(X - 100.0, 100.0 - Y) * 180.0 / std::numbers::pi;
  return degrees < 0 ? degrees + 360.0 : degrees;
}

TEST(AzimuthFromPoint, EveryPointOfTheDialGivesItsRoundedBearing) {
  for (int32_t X = 0; X < 200; ++X) {
    for (int32_t Y = 0; Y < 200; ++Y) {
      int32_t expected = static_cast<int32_t>(std::nearbyint(bearingDegrees(X, Y)));
      if (X == 100 && Y < 100) expected = 360;  // the top reads 360, not 0
      ASSERT_EQ(AzimuthFromPoint(X, Y), expected) << X << "," << Y;
    }
  }
}

TEST(ElevationFromPoint, EveryPointOfTheUpperHalfGivesItsRoundedElevation) {
  for (int32_t X = 0; X < 200; ++X) {
    for (int32_t Y = 0; Y <= 100; ++Y) {
      if (X == 100 && Y == 100) continue;
      const double elevation = std::atan2(100.0 - Y, 100.0 - X) * 180.0 / std::numbers::pi;
      ASSERT_EQ(ElevationFromPoint(X, Y), static_cast<int32_t>(std::nearbyint(elevation)))
          << X << "," << Y;
    }
  }
}

TEST(ElevationFromPoint, BelowTheHorizonThePointIsPinnedToItsSide) {
  for (int32_t Y = 101; Y < 200; ++Y) {
    for (int32_t X = 0; X < 200; ++X) {
      const int32_t expected = X < 100 ? 0 : (X > 100 ? 180 : 90);
      ASSERT_EQ(ElevationFromPoint(X, Y), expected) << X << "," << Y;
    }
  }
  EXPECT_EQ(ElevationFromPoint(100, 100), 90);
}

TEST(AngleFromPoint, ExtremePointsNeitherOverflowNorLeaveTheRange) {
  const std::vector<int32_t> values = {std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::min() + 1,
                                       -100000,
                                       -1,
                                       0,
                                       99,
                                       100,
                                       101,
                                       199,
                                       100000,
                                       std::numeric_limits<int32_t>::max() - 1,
                                       std::numeric_limits<int32_t>::max()};
  for (const int32_t X : values) {
    for (const int32_t Y : values) {
      const int32_t azimuth = AzimuthFromPoint(X, Y);
      const int32_t elevation = ElevationFromPoint(X, Y);
      EXPECT_GE(azimuth, 0);
      EXPECT_LE(azimuth, 360);
      EXPECT_GE(elevation, 0);
      EXPECT_LE(elevation, 180);
      // The side of the centre decides the half of the compass.
      if (X < 100) {
        EXPECT_GE(azimuth, 180) << X << "," << Y;
      }
      if (X > 100) {
        EXPECT_LE(azimuth, 180) << X << "," << Y;
      }
    }
  }
  const int32_t low = std::numeric_limits<int32_t>::min();
  const int32_t high = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(AzimuthFromPoint(low, 100), 270);
  EXPECT_EQ(AzimuthFromPoint(high, 100), 90);
  EXPECT_EQ(AzimuthFromPoint(100, low), 360);
  EXPECT_EQ(AzimuthFromPoint(100, high), 180);
  EXPECT_EQ(ElevationFromPoint(low, low), 45);
  EXPECT_EQ(ElevationFromPoint(high, low), 135);
}

}  // namespace
