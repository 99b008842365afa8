// Starting the panel the first time, ending it with Exit and starting it again.

#include <gtest/gtest.h>

#include <chrono>

#include "display/DialGeometry.h"
#include "display/HandTip.h"
#include "tests/journeys/PanelJourney.h"

namespace {

using StartJourney = PanelJourney;

// Where the hands of the dials must end for the positions the simulator reports, on the screen.
struct DialCentres {
  int LeftX, LeftY, RightX, RightY;
};

DialCentres dialCentres(const WindowGeometry& window) {
  // The dial pictures stand at (0, 96) and (205, 96) of the client area.
  return {window.X + 0 + kDialCentreOffset, window.Y + 96 + kDialCentreOffset,
          window.X + 205 + kDialCentreOffset, window.Y + 96 + kDialCentreOffset};
}

TEST_F(StartJourney, FirstStartInAnEmptyDirectoryCreatesTheDefaultsAndPollsEverySecond) {
  CopyPictures();
  StartSimulator({"--az", "120", "--el", "30"});
  StartPanel();

  ConfirmMessage("Language-file \"QV_M_language.csv\" not found !");

  EXPECT_EQ(ReadFile("QV_M.ini"), "1\r\nEN\r\n1000\r\n10\r\n0\r\n0\r\n2\r\n50\r\n50\r\n");
  const WindowGeometry window = Geometry();
  EXPECT_EQ(window.X, 50);
  EXPECT_EQ(window.Y, 50);
  EXPECT_EQ(window.Width, 405);
  EXPECT_EQ(window.Height, 406);
  EXPECT_EQ(WindowTitle(), "Azimara M V1.7");

  const std::vector<WireEntry> polls = WaitForMorePolls(4);
  ASSERT_GE(polls.size(), 4u);
  for (size_t i = 0; i < polls.size(); ++i) {
    EXPECT_EQ(polls[i].Hex, "43 32 0D") << "poll " << i;
    if (i > 0) {
      EXPECT_NEAR(polls[i].Ms - polls[i - 1].Ms, 1000, 250) << "poll " << i;
    }
  }

  const DialCentres centres = dialCentres(window);
  const DialPoint left = HandTip(centres.LeftX, centres.LeftY, 120, LeftDialKind(2));
  const DialPoint right = HandTip(centres.RightX, centres.RightY, 30, *RightDialKind(2));
  const DialPoint elsewhere = HandTip(centres.LeftX, centres.LeftY, 300, LeftDialKind(2));
  EXPECT_TRUE(Eventually([&] {
    const ScreenImage screen = ScreenImage::Take();
    return HandColourNear(screen, left.X, left.Y) && HandColourNear(screen, right.X, right.Y);
  })) << "no hands at 120 and 30";
  EXPECT_FALSE(HandColourNear(ScreenImage::Take(), elsewhere.X, elsewhere.Y));

  // Screen readers read the read-outs as they show the positions, and the design captions.
  EXPECT_EQ(Control("Label6").Name, "120°");
  EXPECT_EQ(Control("Label7").Name, "30°");
  EXPECT_EQ(Control("Button1").Name, "Exit");
  EXPECT_EQ(Control("KtNumEdit3").Name, "Parking Position 1");
}

TEST_F(StartJourney, ExitEndsAtOnceAndTheNextStartRestoresWhatTheOperatorSet) {
  CopyPictures();
  CopyResource("QV_M_language.csv");
  WriteFile("QV_M.ini", "3\r\nEN\r\n1000\r\n10\r\n0\r\n0\r\n2\r\n50\r\n50\r\n");
  StartSimulator({"--az", "120", "--el", "30"}, "COM3");
  StartPanel();
  ASSERT_FALSE(WaitForMorePolls(1).empty());

  StepSelector(LanguageBox, "Down", 2);  // FR
  EnterSelector(PollRateBox, "500");
  StepSelector(AxisBox, "Down", 1);  // axis1=AZ | axis2=AZ
  Enter("KtNumEdit3", "90");
  Enter("KtNumEdit4", "45");
  ClickControl("KtNumEdit1");  // leaves the park field
  MoveWindow(120, 80);

  const AccessibleNode exitButton = Located("Button1");
  const auto clicked = std::chrono::steady_clock::now();
  Click(exitButton.CentreX(), exitButton.CentreY());
  ASSERT_TRUE(WaitForPanelEnd(std::chrono::milliseconds(1500)).has_value())
      << "still running 1.5 s after Exit";
  EXPECT_GE(std::chrono::steady_clock::now() - clicked, std::chrono::milliseconds(500));
  const std::string saved = "3\r\nFR\r\n500\r\n10\r\n90\r\n45\r\n3\r\n120\r\n80\r\n";
  EXPECT_EQ(ReadFile("QV_M.ini"), saved);

  StartPanel();
  const std::vector<WireEntry> polls = WaitForMorePolls(3);
  ASSERT_GE(polls.size(), 3u);
  EXPECT_EQ(polls.back().Hex, "43 32 0D");
  EXPECT_NEAR(polls.back().Ms - polls[polls.size() - 2].Ms, 500, 200);
  const WindowGeometry window = Geometry();
  EXPECT_EQ(window.X, 120);
  EXPECT_EQ(window.Y, 80);
  EXPECT_EQ(window.Width, 405);
  EXPECT_EQ(window.Height, 406);
  EXPECT_EQ(Control(PortBox).Name, "3");
  EXPECT_EQ(Control(LanguageBox).Name, "FR");
  EXPECT_EQ(Control(PollRateBox).Name, "500");
  EXPECT_EQ(Control(AxisBox).Name, "axis1=AZ | axis2=AZ");
  EXPECT_EQ(Control("KtNumEdit3").Text, "90");
  EXPECT_EQ(Control("KtNumEdit4").Text, "45");
  EXPECT_EQ(ReadFile("QV_M.ini"), saved);
}

}  // namespace
