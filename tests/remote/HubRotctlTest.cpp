// hamlib's own NET rotctl client (rotctl -m 2) against the panel and the simulator.

#include <gtest/gtest.h>

#include <sstream>

#include "app/DialPointer.h"
#include "display/HandTip.h"
#include "tests/app/SimulatorLog.h"
#include "tests/remote/HubPanel.h"
#include "tests/tools/TextLines.h"

namespace {

using RotctlNet = HubPanelTest;

std::vector<double> numbersIn(const std::string& output) {
  std::istringstream text(output);
  std::vector<double> values;
  for (double value; text >> value;) values.push_back(value);
  return values;
}

bool handAt(TForm1& form, QWidget* dial, int angle, DialKind kind) {
  const QPoint corner = dial->pos();
  const DialPoint tip =
      HandTip(corner.x() + kDialCentreOffset, corner.y() + kDialCentreOffset, angle, kind);
  return form.grab().toImage().pixelColor(tip.X, tip.Y) == kHandColour;
}

TEST_F(RotctlNet, GetPosIsTheSimulatorsPositionAndDumpStateIsReadOnOpen) {
  Start();
  EXPECT_EQ(numbersIn(Rotctl({"p"})), (std::vector<double>{kAzimuth, kElevation}));
  // rotctl's own state of the NET rotctl backend, as it read the panel's dump_state on open:
  // its built-in limits would say max_el=90.
  const std::string state = Rotctl({"dump_state"});
  EXPECT_NE(
      state.find("min_az=-180.000000\nmax_az=450.000000\nmin_el=0.000000\nmax_el=180.000000\n"),
      std::string::npos)
      << state;
  EXPECT_NE(state.find("rot_type=AzEl"), std::string::npos) << state;
  EXPECT_TRUE(Commands().empty()) << "reading positions sends no command";
}

TEST_F(RotctlNet, SetPosPutsTheGoCommandOnTheWireAfterThePauseAndTheHandsFollow) {
  Start({"--speed", "120"});
  EXPECT_EQ(Rotctl({"P", "200", "30"}), "");
  EXPECT_EQ(WaitForCommands(1), std::vector<std::string>{HexBytes("W200 030\r")});
  EXPECT_TRUE(RunEventsUntil(
      [&] { return form->Label6->text() == ReadOut(200) && form->Label7->text() == ReadOut(30); }));
  EXPECT_TRUE(handAt(*form, form->Image1, 200, DialKind::Azimuth));
  EXPECT_TRUE(handAt(*form, form->Image2, 30, DialKind::Elevation));
  EXPECT_EQ(numbersIn(Rotctl({"p"})), (std::vector<double>{200, 30}));

  // The controller had its 200 ms after the last poll before the command.
  long lastPoll = -1;
  long command = -1;
  for (const std::string& line : ReadLines(LogPath())) {
    const long ms = std::stol(line.substr(0, line.find('\t')));
    const std::string bytes = line.substr(line.find('\t') + 1);
    if (bytes == HexBytes("W200 030\r")) {
      command = ms;
      break;
    }
    lastPoll = ms;
  }
  ASSERT_GE(lastPoll, 0);
  // The log stamps whole milliseconds of arrival; the poll itself may have lingered on its way.
  EXPECT_GE(command - lastPoll, 195);
}

TEST_F(RotctlNet, StopParkAndMovePressTheButtonsCommands) {
  Start();
  form->KtNumEdit3->SetValue(10);
  form->KtNumEdit4->SetValue(5);
  Rotctl({"S"});
  Rotctl({"K"});
  Rotctl({"M", "16", "5"});
  Rotctl({"M", "2", "-1"});
  Rotctl({"M", "8", "5"});
  Rotctl({"M", "4", "5"});
  EXPECT_EQ(WaitForCommands(6),
            (std::vector<std::string>{HexBytes("S\r"), HexBytes("W010 005\r"), HexBytes("R\r"),
                                      HexBytes("U\r"), HexBytes("L\r"), HexBytes("D\r")}));
  EXPECT_EQ(form->KtNumEdit1->text(), "10")
      << "a network park shows the park position as PARK does";
  EXPECT_EQ(form->KtNumEdit2->text(), "5");
}

TEST_F(RotctlNet, AnAngleThePanelCannotSendIsRefusedAndNothingGoesOut) {
  Start({}, "", 0);
  const std::string refused = Rotctl({"P", "460", "0"});
  EXPECT_NE(refused.find("range problem"), std::string::npos) << "rotctl checks the limits itself";
  // hamlib's client passes on what its limits allow; the one-axis panel sends axis 1 only.
  Rotctl({"P", "-10", "45"});
  EXPECT_EQ(WaitForCommands(1), std::vector<std::string>{HexBytes("M350\r")});
}

}  // namespace
