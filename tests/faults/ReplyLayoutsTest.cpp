// Replies laid out as other real controllers send them: the panel shows the positions it can
// read at their byte positions and leaves every other read-out and pointer as it was.

#include "tests/faults/PollingPanel.h"

namespace {

using ReplyLayouts = PollingPanelTest;

struct Layout {
  const char* profile;
  int config;
  bool azimuthShown;
  bool elevationShown;
};

TEST_F(ReplyLayouts, OnlyWhatStandsWhereAReportHoldsItIsShown) {
  const Layout layouts[] = {
      {"standard", 2, true, true},
      // "AZ=330  EL=045" CR: two replies make the sixteen bytes the panel waits for.
      {"cr-only", 2, true, true},
      // "AZ=330EL=045" CR LF: the elevation's digits are not where a report has them.
      {"no-blanks", 2, true, false},
      // "AZ=0330  EL=045" CR LF: a three-digit field holding part of a wider number.
      {"four-digit", 2, false, false},
      // "?>AZ=330  EL=045" CR LF: the reply does not start with the report.
      {"prompt", 2, false, false},
      // "AZ=330" CR LF to "C2" too: the next reply is no elevation.
      {"az-only", 2, true, false},
      {"az-only", 0, true, false},
  };
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(testing::Message() << layout.profile << ", axis configuration " << layout.config);
    Start({"--profile", layout.profile}, layout.config);
    const QString left = layout.azimuthShown ? ReadOut(kAzimuth) : "0";
    const QString right = layout.elevationShown ? ReadOut(kElevation) : "0";
    // Three reads: at least three replies (in pairs, six) came and were parsed.
    EXPECT_TRUE(WaitForEchoLines(3));
    EXPECT_TRUE(WaitForReadOuts(left, right));
    EXPECT_EQ(shownLeft, (std::set<QString>{"0", left}));
    EXPECT_EQ(shownRight, (std::set<QString>{"0", right}));
    EXPECT_EQ(ShowsNoPointer(form->Image1, "Windrose_AZ.jpg"), !layout.azimuthShown);
    if (layout.config == 2) {
      EXPECT_EQ(ShowsNoPointer(form->Image2, "Windrose_EL.jpg"), !layout.elevationShown);
    }
    EXPECT_TRUE(messages.empty());
    form.reset();
    shownLeft.clear();
    shownRight.clear();
  }
}

}  // namespace
