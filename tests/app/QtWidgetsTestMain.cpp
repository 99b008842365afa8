// GoogleTest entry point of the window tests: one QApplication on the offscreen platform, with
// the serial port's Qt side and the panel's message boxes installed as the program installs
// them, except the port-selection dialog: no test may wait for a modal dialog.

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "app/MessageBoxes.h"
#include "app/SerialQtHooks.h"
#include "serial/PortPrompt.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  const SerialQtHooks serialHooks;
  SetPortPrompt({});
  InstallMessageBoxes();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
