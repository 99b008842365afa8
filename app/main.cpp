// Azimara M: the rotator control panel. One window; everything else happens in its handlers.

#include <QApplication>

#include "app/Form1.h"
#include "app/MessageBoxes.h"
#include "app/SerialQtHooks.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // No display name: Qt would append it to the window's caption in every title bar. The
  // desktop file name ties the window to the menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("azimara-m"));
  const SerialQtHooks serialHooks;
  InstallMessageBoxes();
  int result = 0;
  {
    TForm1 Form1;
    result = QApplication::exec();
  }
  return result;
}
