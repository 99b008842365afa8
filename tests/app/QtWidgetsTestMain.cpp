// GoogleTest entry point of the window tests: one QApplication on the offscreen platform, with
// the panel's message boxes installed as the program installs them.

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "app/MessageBoxes.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  InstallMessageBoxes();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
