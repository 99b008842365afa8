// What set_pos, move, park and get_pos mean for each axis configuration.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "remote/HubAxes.h"

namespace {

using enum RotatorCommand;

struct SetPosCase {
  int32_t config;
  double az;
  double el;
  std::optional<HubCommand> sent;
};

HubCommand go(RotatorCommand command, int64_t target1, int64_t target2 = 0) {
  return HubCommand{command, false, target1, target2};
}

TEST(HubAxes, SetPosSendsWhatTheGoButtonsSendForTheConfiguration) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const SetPosCase cases[] = {
      {2, 200, 30, go(GoBoth, 200, 30)},   {2, 200.99, 30.99, go(GoBoth, 200, 30)},
      {2, 450, 180, go(GoBoth, 450, 180)}, {2, -10, 0, go(GoBoth, 350, 0)},
      {2, -180, 90, go(GoBoth, 180, 90)},  {2, 450.01, 30, std::nullopt},
      {2, -180.5, 30, std::nullopt},       {2, 200, -0.5, std::nullopt},
      {2, 200, 180.5, std::nullopt},       {2, nan, 30, std::nullopt},
      {2, 200, inf, std::nullopt},         {3, 200, -10, go(GoBoth, 200, 350)},
      {3, 10, 400, go(GoBoth, 10, 400)},   {0, 123.4, 45, go(GoAxis1, 123)},
      {0, 123, 200, std::nullopt},         {1, 123, 45.9, go(GoAxis1, 45)},
      {1, 500, 45, std::nullopt},          {-1, 77, 5, go(GoAxis1, 77)},
      {9, 77, 5, go(GoAxis1, 77)},
  };
  for (const SetPosCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "config " << c.config << ": " << c.az << " " << c.el);
    EXPECT_EQ(SetPosCommand(c.config, c.az, c.el), c.sent);
  }
}

struct MoveCase {
  int32_t config;
  int direction;
  std::optional<RotatorCommand> pressed;
};

TEST(HubAxes, MovePressesTheTurnButtonOfTheDirection) {
  const MoveCase cases[] = {
      {2, DirectionLeft, TurnAxis1Ccw},
      {2, DirectionRight, TurnAxis1Cw},
      {2, DirectionUp, TurnAxis2Up},
      {2, DirectionDown, TurnAxis2Down},
      {3, DirectionUp, TurnAxis2Up},
      {0, DirectionLeft, TurnAxis1Ccw},
      {0, DirectionUp, std::nullopt},
      {1, DirectionUp, TurnAxis1Cw},
      {1, DirectionDown, TurnAxis1Ccw},
      {1, DirectionLeft, std::nullopt},
      {2, 3, std::nullopt},
      {2, 32, std::nullopt},
      {2, 0, std::nullopt},
      {2, -8, std::nullopt},
  };
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "config " << c.config << ", direction " << c.direction);
    const std::optional<HubCommand> command = MoveCommand(c.config, c.direction);
    ASSERT_EQ(command.has_value(), c.pressed.has_value());
    if (command) {
      EXPECT_EQ(command->Command, *c.pressed);
    }
  }
  EXPECT_EQ(DirectionNamed("CCW"), DirectionLeft);
  EXPECT_EQ(DirectionNamed("RIGHT"), DirectionRight);
  EXPECT_EQ(DirectionNamed("UP"), DirectionUp);
  EXPECT_EQ(DirectionNamed("down"), std::nullopt);
}

TEST(HubAxes, ParkPressesTheParkButtonOfBothAxesOrOfAxisOne) {
  EXPECT_EQ(ParkCommand(2), (HubCommand{GoBoth, true, 0, 0}));
  EXPECT_EQ(ParkCommand(3), (HubCommand{GoBoth, true, 0, 0}));
  EXPECT_EQ(ParkCommand(0), (HubCommand{GoAxis1, true, 0, 0}));
  EXPECT_EQ(ParkCommand(1), (HubCommand{GoAxis1, true, 0, 0}));
}

TEST(HubAxes, GetPosPutsAOneAxisPositionInItsOwnPlace) {
  EXPECT_EQ(ReportedAngles(2, 120, 30).Azimuth, 120);
  EXPECT_EQ(ReportedAngles(2, 120, 30).Elevation, 30);
  EXPECT_EQ(ReportedAngles(0, 120, 999).Elevation, 0);
  EXPECT_EQ(ReportedAngles(1, 45, 999).Azimuth, 0);
  EXPECT_EQ(ReportedAngles(1, 45, 999).Elevation, 45);
}

TEST(HubAxes, TheLimitsFollowTheAxisKinds) {
  EXPECT_EQ(LimitsFor(0).RotType, "Az");
  EXPECT_EQ(LimitsFor(1).RotType, "El");
  EXPECT_EQ(LimitsFor(2).RotType, "AzEl");
  EXPECT_EQ(LimitsFor(2).MaxEl, 180);
  EXPECT_EQ(LimitsFor(3).MaxEl, 450);
  EXPECT_EQ(LimitsFor(3).MinEl, -180);
  EXPECT_FALSE(HasTwoAxes(1));
  EXPECT_TRUE(HasTwoAxes(3));
}

}  // namespace
