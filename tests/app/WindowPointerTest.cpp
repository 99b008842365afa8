// The position pointers over the dials, checked on the window's pixels.

#include <QTest>

#include "app/DialPictures.h"
#include "app/DialPointer.h"
#include "tests/app/PanelFixture.h"
#include "tests/app/PanelInput.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TestPatience.h"

namespace {

class WindowPointers : public PanelTest {
 protected:
  std::unique_ptr<TForm1> startWith(int config) {
    WriteSettings({"1", "EN", "1000", "10", "0", "0", std::to_string(config), "50", "50"});
    return StartPanel();
  }
};

QColor at(const QImage& window, QPoint point) { return window.pixelColor(point); }

struct TipCase {
  int config;  // 2: the left dial is an azimuth dial, 1: an elevation dial
  int angle;
  QPoint tip;
};

TEST_F(WindowPointers, TheHandEndsOnTheTipOfEveryAngle) {
  const TipCase cases[] = {
      {2, 0, {100, 166}},   {2, 360, {100, 166}}, {2, 45, {121, 175}},  {2, 90, {130, 196}},
      {2, 135, {121, 217}}, {2, 180, {100, 226}}, {2, 225, {79, 217}},  {2, 270, {70, 196}},
      {2, 315, {79, 175}},  {2, 17, {109, 167}},  {1, 0, {70, 196}},    {1, 30, {74, 181}},
      {1, 45, {79, 175}},   {1, 90, {100, 166}},  {1, 135, {121, 175}}, {1, 180, {130, 196}},
  };
  for (const int config : {1, 2}) {
    const auto form = startWith(config);
    for (const TipCase& c : cases) {
      if (c.config != config) continue;
      SCOPED_TRACE(testing::Message() << "config " << c.config << " angle " << c.angle);
      form->DrawDialPointers(c.angle, 0);
      const QImage window = form->grab().toImage();
      const QPoint centre(100, 196);
      EXPECT_EQ(at(window, c.tip), kHandColour);
      EXPECT_EQ(at(window, centre), kHandColour);
      EXPECT_EQ(at(window, (c.tip + centre) / 2), kHandColour);
      // On the right dial every tip lies 205 px further right.
      if (config == 2) {
        form->DrawDialPointers(0, c.angle);
        const QPoint elevationTip = [&] {
          for (const TipCase& e : cases) {
            if (e.config == 1 && e.angle == c.angle) return e.tip + QPoint(205, 0);
          }
          return QPoint();
        }();
        if (!elevationTip.isNull()) {
          EXPECT_EQ(at(form->grab().toImage(), elevationTip), kHandColour);
        }
      }
    }
  }
}

TEST_F(WindowPointers, AnAzimuthDialGetsAFullRingAnElevationDialTheUpperHalf) {
  auto form = startWith(2);
  const QColor highlight = form->palette().color(QPalette::Highlight);
  form->DrawDialPointers(90, 0);
  QImage window = form->grab().toImage();
  EXPECT_EQ(at(window, {100, 166}), highlight) << "left dial, top";
  EXPECT_EQ(at(window, {100, 226}), highlight) << "left dial, bottom";
  EXPECT_EQ(at(window, {100, 210}), QColor(Qt::white)) << "the disc is wiped white";
  // Right dial, elevation 0: the hand points left.
  EXPECT_EQ(at(window, {305, 166}), highlight) << "right dial, top";
  EXPECT_EQ(at(window, {305 + 21, 196 - 21}), highlight) << "right dial, upper right";
  EXPECT_EQ(at(window, {305, 226}), QColor(Qt::white)) << "right dial, bottom: white outline";
  EXPECT_EQ(at(window, {305 + 21, 196 + 21}), QColor(Qt::white));
}

TEST_F(WindowPointers, WithOneAxisTheRightDialIsLeftAlone) {
  for (const int config : {0, 1}) {
    const auto form = startWith(config);
    form->DrawDialPointers(90, 45);
    EXPECT_TRUE(SamePixels(Shown(form->Image2), ElevationHalfRose())) << config;
  }
}

TEST_F(WindowPointers, AReportDrawsThePointersAndTheyStayWhenTheDialsAreReloaded) {
  CopyLanguageFile();
  const SimulatorProcess simulator({"--link", Path("COM1"), "--az", "123", "--el", "45"});
  const auto form = startWith(2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->Label6->text() == "123°"; },
                              static_cast<int>(kPatience.count())));
  QImage window = form->grab().toImage();
  // The tips of 123 on an azimuth dial and of 45 on an elevation dial.
  EXPECT_EQ(at(window, {125, 212}), kHandColour);
  EXPECT_EQ(at(window, {284, 175}), kHandColour);

  PickItem(form->ComboBox4, 3);
  window = form->grab().toImage();
  EXPECT_EQ(at(window, {125, 212}), kHandColour);
  EXPECT_EQ(at(window, {326, 175}), kHandColour) << "now drawn as an azimuth";
}

}  // namespace
