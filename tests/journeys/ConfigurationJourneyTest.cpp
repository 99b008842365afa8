// Changing the axis configuration, the poll rate and the language from the selectors.

#include <gtest/gtest.h>

#include "tests/journeys/PanelJourney.h"

namespace {

using ConfigurationJourney = PanelJourney;

// Whether the settings file holds value on line (counted from 1).
bool lineIs(const std::vector<std::string>& lines, size_t line, const std::string& value) {
  return lines.size() == 9 && lines[line - 1] == value;
}

// Whether two screenshots differ anywhere inside the control's rectangle.
bool differsInside(const ScreenImage& a, const ScreenImage& b, const AccessibleNode& control) {
  for (int y = control.Y; y < control.Y + control.Height; ++y) {
    for (int x = control.X; x < control.X + control.Width; ++x) {
      if (!(a.At(x, y) == b.At(x, y))) return true;
    }
  }
  return false;
}

TEST_F(ConfigurationJourney, OneAxisShrinksTheWindowAndAsksForOnePosition) {
  StartReadyPanel({"--az", "120", "--el", "30"});

  StepSelector(kAxisBox, "Up", 2);  // to "axis1=AZ | axis2=none"
  EXPECT_TRUE(Eventually([&] { return Geometry().Width == 201 && Geometry().Height == 405; }));
  EXPECT_TRUE(Eventually([&] { return lineIs(SettingsLines(), 7, "0"); }));
  std::vector<WireEntry> polls = WaitForMorePolls(2);
  ASSERT_FALSE(polls.empty());
  EXPECT_EQ(polls.back().Hex, "43 0D");

  StepSelector(kAxisBox, "Down", 2);  // back to "axis1=AZ | axis2=EL"
  EXPECT_TRUE(Eventually([&] { return Geometry().Width == 405 && Geometry().Height == 406; }));
  EXPECT_TRUE(Eventually([&] { return lineIs(SettingsLines(), 7, "2"); }));
  polls = WaitForMorePolls(2);
  ASSERT_FALSE(polls.empty());
  EXPECT_EQ(polls.back().Hex, "43 32 0D");
}

TEST_F(ConfigurationJourney, PollRateAndLanguageFollowTheSelectorsIntoTheSettings) {
  StartReadyPanel({"--az", "120", "--el", "30"});

  EnterSelector(kPollRateBox, "500");
  EXPECT_TRUE(Eventually([&] { return lineIs(SettingsLines(), 3, "500"); }));
  WaitForMorePolls(1);  // may still come at the old rate
  const std::vector<WireEntry> polls = WaitForMorePolls(3);
  ASSERT_GE(polls.size(), 3u);
  for (size_t i = polls.size() - 2; i < polls.size(); ++i) {
    EXPECT_NEAR(polls[i].Ms - polls[i - 1].Ms, 500, 200) << "poll " << i;
  }

  const AccessibleNode exitButton = Located("Button1");
  const AccessibleNode manualGroup = Located("GroupBox3");
  EXPECT_EQ(exitButton.Name, "Exit");
  EXPECT_EQ(manualGroup.Name, "Manual 1");
  const ScreenImage english = ScreenImage::Take();
  StepSelector(kLanguageBox, "Down", 1);  // EN to DE
  EXPECT_TRUE(Eventually([&] { return lineIs(SettingsLines(), 2, "DE"); }));
  EXPECT_TRUE(Eventually([&] { return Control("KtNumEdit3").Description == "Parkposition 1"; }));
  EXPECT_EQ(Control("KtNumEdit4").Description, "Parkposition 2");
  // What screen readers read follows the language.
  EXPECT_EQ(Control("Button1").Name, "Ende");
  EXPECT_EQ(Control("GroupBox3").Name, "Hand 1");
  EXPECT_EQ(Control("Label2").Name, "Sprache");
  EXPECT_EQ(Control("KtNumEdit3").Name, "Parkposition 1");
  const ScreenImage german = ScreenImage::Take();
  EXPECT_TRUE(differsInside(english, german, exitButton)) << "Exit kept its caption";
  EXPECT_TRUE(differsInside(english, german, manualGroup)) << "Manual 1 kept its caption";
}

}  // namespace
