// Aiming an axis by moving the mouse over its dial, and moving it there with a click.

#include <QTest>

#include "tests/app/PanelFixture.h"
#include "tests/app/SimulatorLog.h"
#include "tests/tools/SimulatorProcess.h"

namespace {

struct PointCase {
  QPoint point;
  int azimuth;
  int elevation;
};

const PointCase kSamples[] = {
    {{100, 100}, 0, 90},   {{100, 0}, 360, 90},   {{101, 0}, 1, 91},     {{99, 0}, 359, 89},
    {{150, 50}, 45, 135},  {{199, 100}, 90, 180}, {{199, 101}, 91, 180}, {{150, 150}, 135, 180},
    {{100, 199}, 180, 90}, {{50, 150}, 225, 0},   {{0, 100}, 270, 0},    {{50, 50}, 315, 45},
    {{130, 10}, 18, 108},  {{190, 95}, 87, 177},  {{10, 95}, 273, 3},    {{60, 180}, 207, 0},
};

class WindowPointing : public PanelTest {
 protected:
  std::unique_ptr<TForm1> startWith(int config) {
    WriteSettings({"1", "EN", "5000", "10", "0", "0", std::to_string(config), "50", "50"});
    return StartPanel();
  }

  // Moves the mouse over each sample point of dial and compares field with the angles.
  void checkSamples(QWidget* dial, TKtNumEdit* field, bool elevation) {
    for (const PointCase& c : kSamples) {
      QTest::mouseMove(dial, c.point);
      EXPECT_EQ(field->IntValue(), elevation ? c.elevation : c.azimuth)
          << dial->objectName().toStdString() << " at " << c.point.x() << "," << c.point.y();
    }
  }
};

TEST_F(WindowPointing, EachDialMapsTheMouseByItsKind) {
  {
    const auto form = startWith(2);
    checkSamples(form->Image1, form->KtNumEdit1, false);
    checkSamples(form->Image2, form->KtNumEdit2, true);
  }
  {
    const auto form = startWith(1);
    checkSamples(form->Image1, form->KtNumEdit1, true);
  }
  {
    const auto form = startWith(3);
    checkSamples(form->Image2, form->KtNumEdit2, false);
  }
}

TEST_F(WindowPointing, MovingSendsNothingAndAClickSendsThatDialsAxisOnly) {
  const std::string log = Path("commands.log");
  const SimulatorProcess simulator({"--link", Path("COM1"), "--log", log});
  const auto form = startWith(2);
  ASSERT_TRUE(form->SioComPort1.Open());
  for (const PointCase& c : kSamples) QTest::mouseMove(form->Image1, c.point);
  QTest::mouseMove(form->Image1, {150, 50});
  QTest::mouseClick(form->Image1, Qt::LeftButton, {}, {150, 50});
  QTest::mouseMove(form->Image2, {130, 10});
  QTest::mouseClick(form->Image2, Qt::LeftButton, {}, {130, 10});
  EXPECT_EQ(WaitForCommands(log, 2),
            (std::vector<std::string>{HexBytes("M045\r"), HexBytes("MB108\r")}));
  EXPECT_EQ(form->KtNumEdit1->text(), "45");
}

TEST_F(WindowPointing, ADoubleClickOnADialSendsOneCommand) {
  const std::string log = Path("commands.log");
  const SimulatorProcess simulator({"--link", Path("COM1"), "--log", log});
  const auto form = startWith(2);
  ASSERT_TRUE(form->SioComPort1.Open());
  // Through the window, so Qt tells the double-click from two clicks as it does for the mouse.
  QWindow* window = form->windowHandle();
  const QPoint onDial1 = form->Image1->mapTo(form.get(), QPoint(150, 50));
  QTest::mouseMove(window, onDial1);
  QTest::mouseDClick(window, Qt::LeftButton, {}, onDial1);
  // A command after it shows that no second one came between.
  const QPoint onDial2 = form->Image2->mapTo(form.get(), QPoint(130, 10));
  QTest::mouseMove(window, onDial2);
  QTest::mouseClick(window, Qt::LeftButton, {}, onDial2);
  EXPECT_EQ(WaitForCommands(log, 2),
            (std::vector<std::string>{HexBytes("M045\r"), HexBytes("MB108\r")}));
}

}  // namespace
