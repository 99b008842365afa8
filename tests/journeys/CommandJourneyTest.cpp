// Aiming at a dial and pressing the command buttons: what reaches the controller.

#include <gtest/gtest.h>

#include <chrono>

#include "display/AnglePointing.h"
#include "display/HandTip.h"
#include "protocol/CommandSet.h"
#include "tests/journeys/PanelJourney.h"
#include "tests/journeys/ToolRun.h"

namespace {

using CommandJourney = PanelJourney;
using Clock = std::chrono::steady_clock;

// The bytes the command table gives for command with these targets, as the log shows them.
std::string expectedWire(RotatorCommand command, int64_t target1 = 0, int64_t target2 = 0) {
  CommandBuffer buffer{};
  const BuiltCommand built = BuildCommand(
      command, [&](int axis) { return axis == 1 ? target1 : target2; }, buffer);
  return HexOf(std::string_view(reinterpret_cast<const char*>(buffer.data()), built.Length));
}

std::string lastCommand(const std::vector<WireEntry>& commands) {
  return commands.empty() ? std::string("(none)") : commands.back().Hex;
}

TEST_F(CommandJourney, PointingAtTheLeftDialAndClickingTurnsTheAntennaThere) {
  StartReadyPanel({"--az", "120", "--el", "30", "--speed", "90"});
  const AccessibleNode dial = Located("Image1");
  const int pointX = 60;
  const int pointY = 150;
  const int32_t angle = AngleFromPoint(LeftDialPointing(2), pointX, pointY);

  MoveMouse(dial.X + pointX, dial.Y + pointY);
  EXPECT_TRUE(Eventually([&] { return Control("KtNumEdit1").Text == std::to_string(angle); }));
  EXPECT_TRUE(Commands(Wire()).empty()) << "moving alone sent " << lastCommand(Commands(Wire()));

  RunToolChecked("xdotool", {"click", "1"});
  const std::vector<WireEntry> commands = WaitForCommands(1);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].Hex, expectedWire(RotatorCommand::GoAxis1, angle));

  const WindowGeometry window = Geometry();
  const DialPoint tip = HandTip(window.X + kDialCentreOffset, window.Y + 96 + kDialCentreOffset,
                                angle, LeftDialKind(2));
  EXPECT_TRUE(Eventually([&] { return HandColourNear(ScreenImage::Take(), tip.X, tip.Y); }))
      << "the hand did not reach " << angle;
  // Where the antenna stopped, the hand stays.
  WaitForMorePolls(2);
  EXPECT_TRUE(HandColourNear(ScreenImage::Take(), tip.X, tip.Y)) << "the hand left " << angle;
}

TEST_F(CommandJourney, TypedTargetsAndTheButtonsSendTheirCommands) {
  StartReadyPanel({"--az", "120", "--el", "30"});

  Enter("KtNumEdit1", "45");
  ClickControl("Button2");  // GO 1
  EXPECT_EQ(lastCommand(WaitForCommands(1)), expectedWire(RotatorCommand::GoAxis1, 45));

  Enter("KtNumEdit2", "7");
  ClickControl("Button4");  // GO 1+2
  EXPECT_EQ(lastCommand(WaitForCommands(2)), expectedWire(RotatorCommand::GoBoth, 45, 7));

  const AccessibleNode stop = Located("Button5");  // STOP 1
  const Clock::time_point clicked = Clock::now();
  Click(stop.CentreX(), stop.CentreY());
  EXPECT_EQ(lastCommand(WaitForCommands(3)), expectedWire(RotatorCommand::StopAxis1));
  EXPECT_GE(Clock::now() - clicked, kCommandPause);

  const struct {
    const char* Button;
    RotatorCommand Command;
  } turns[] = {{"Button9", RotatorCommand::TurnAxis1Ccw},
               {"Button11", RotatorCommand::TurnAxis1Cw},
               {"Button12", RotatorCommand::TurnAxis2Down},
               {"Button13", RotatorCommand::TurnAxis2Up}};
  size_t sent = 3;
  for (const auto& turn : turns) {
    ClickControl(turn.Button);
    EXPECT_EQ(lastCommand(WaitForCommands(++sent)), expectedWire(turn.Command)) << turn.Button;
  }

  Enter("KtNumEdit3", "270");
  ClickControl("Button8");  // PARK 1, which also leaves the park field
  EXPECT_EQ(lastCommand(WaitForCommands(++sent)), expectedWire(RotatorCommand::GoAxis1, 270));
  EXPECT_EQ(Control("KtNumEdit1").Text, "270");
  EXPECT_TRUE(
      Eventually([&] { return SettingsLines().size() == 9 && SettingsLines()[4] == "270"; }));
}

}  // namespace
