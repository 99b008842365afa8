// A port without a device, and a controller that goes away while the panel polls it.

#include <gtest/gtest.h>

#include <filesystem>

#include "display/AnglePointing.h"
#include "display/HandTip.h"
#include "tests/journeys/PanelJourney.h"

namespace {

using PortJourney = PanelJourney;

TEST_F(PortJourney, APortWithoutDeviceIsNamedAndAnotherPortStartsPolling) {
  CopyPictures();
  CopyResource("QV_M_language.csv");
  WriteFile("QV_M.ini", "5\r\nEN\r\n1000\r\n10\r\n0\r\n0\r\n2\r\n50\r\n50\r\n");
  std::filesystem::create_symlink(Path("no-such-device"), Path("COM5"));
  StartSimulator({"--az", "120", "--el", "30"});
  StartPanel();

  ConfirmMessage("Port COM5 cannot be opened.");
  EXPECT_TRUE(Wire().empty()) << "sent " << Wire().front().Hex << " to COM1";

  EnterSelector(PortBox, "1");
  const std::vector<WireEntry> polls = WaitForMorePolls(2);
  ASSERT_GE(polls.size(), 2u);
  EXPECT_EQ(polls.back().Hex, "43 32 0D");
  EXPECT_EQ(SettingsLines().front(), "1");
}

TEST_F(PortJourney, AfterTheControllerWasUnpluggedAPortChangeResumesPolling) {
  StartReadyPanel({"--az", "120", "--el", "30"});
  std::filesystem::create_symlink(Path("no-such-device"), Path("COM2"));

  KillSimulator();
  // Still responsive: pointing at the dial still sets the target.
  const AccessibleNode dial = Located("Image1");
  MoveMouse(dial.X + 150, dial.Y + 50);
  const std::string angle = std::to_string(AngleFromPoint(LeftDialPointing(2), 150, 50));
  EXPECT_TRUE(Eventually([&] { return Control("KtNumEdit1").Text == angle; }));

  StartSimulator({"--az", "200", "--el", "10"});
  EnterSelector(PortBox, "2");
  ConfirmMessage("Port COM2 cannot be opened.");
  EnterSelector(PortBox, "1");
  const std::vector<WireEntry> polls = WaitForMorePolls(2);
  ASSERT_GE(polls.size(), 2u);
  EXPECT_EQ(polls.back().Hex, "43 32 0D");
  const WindowGeometry window = Geometry();
  const DialPoint tip = HandTip(window.X + kDialCentreOffset, window.Y + 96 + kDialCentreOffset,
                                200, LeftDialKind(2));
  EXPECT_TRUE(Eventually([&] { return HandColourNear(ScreenImage::Take(), tip.X, tip.Y); }))
      << "the new controller's 200 is not shown";
}

}  // namespace
