#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "display/HandTip.h"

namespace {

struct TipRow {
  DialKind Kind;
  int32_t Angle;
  DialPoint Tip;  // on the left dial, centre (100, 196)
};

const std::vector<TipRow> kLeftDialTips = {
    {DialKind::Azimuth, 0, {100, 166}},     {DialKind::Azimuth, 360, {100, 166}},
    {DialKind::Azimuth, 45, {121, 175}},    {DialKind::Azimuth, 90, {130, 196}},
    {DialKind::Azimuth, 135, {121, 217}},   {DialKind::Azimuth, 180, {100, 226}},
    {DialKind::Azimuth, 225, {79, 217}},    {DialKind::Azimuth, 270, {70, 196}},
    {DialKind::Azimuth, 315, {79, 175}},    {DialKind::Azimuth, 17, {109, 167}},
    {DialKind::Elevation, 0, {70, 196}},    {DialKind::Elevation, 30, {74, 181}},
    {DialKind::Elevation, 45, {79, 175}},   {DialKind::Elevation, 90, {100, 166}},
    {DialKind::Elevation, 135, {121, 175}}, {DialKind::Elevation, 180, {130, 196}},
};

TEST(HandTip, TipsOnTheLeftDial) {
  for (const TipRow& row : kLeftDialTips) {
    const DialPoint tip = HandTip(100, 196, row.Angle, row.Kind);
    EXPECT_EQ(tip.X, row.Tip.X) << row.Angle;
    EXPECT_EQ(tip.Y, row.Tip.Y) << row.Angle;
  }
}

TEST(HandTip, TipsOnTheRightDialLie205PixelsFurtherRight) {
  for (const TipRow& row : kLeftDialTips) {
    const DialPoint tip = HandTip(305, 196, row.Angle, row.Kind);
    EXPECT_EQ(tip, (DialPoint{row.Tip.X + 205, row.Tip.Y})) << row.Angle;
  }
}

TEST(HandTip, ElevationOutsideTheHalfCircleIsDrawnBelowWithoutClamping) {
  EXPECT_EQ(HandTip(100, 196, 270, DialKind::Elevation), (DialPoint{100, 226}));
  EXPECT_EQ(HandTip(100, 196, -90, DialKind::Elevation), (DialPoint{100, 226}));
  EXPECT_EQ(HandTip(100, 196, 225, DialKind::Elevation), (DialPoint{121, 217}));
}

TEST(HandTip, EveryAngleEndsOnTheCircleAroundTheCentre) {
  std::vector<int32_t> angles = {std::numeric_limits<int32_t>::min(),
                                 std::numeric_limits<int32_t>::max()};
  for (int32_t a = -720; a <= 720; ++a) angles.push_back(a);
  for (const DialKind kind : {DialKind::Azimuth, DialKind::Elevation}) {
    for (const int32_t a : angles) {
      const DialPoint tip = HandTip(100, 196, a, kind);
      const double distance = std::hypot(tip.X - 100.0, tip.Y - 196.0);
      // Rounding each coordinate moves the tip by at most half a pixel diagonal.
      ASSERT_NEAR(distance, kHandRadius, std::sqrt(0.5)) << a;
    }
  }
}

TEST(HandTip, FullTurnsGiveTheSameHand) {
  for (int32_t a = 0; a < 360; ++a) {
    for (const DialKind kind : {DialKind::Azimuth, DialKind::Elevation}) {
      EXPECT_EQ(HandTip(100, 196, a, kind), HandTip(100, 196, a + 360, kind)) << a;
      EXPECT_EQ(HandTip(100, 196, a, kind), HandTip(100, 196, a - 720, kind)) << a;
    }
  }
}

}  // namespace
