#include "bench/PanelBenchSupport.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/MessageBoxes.h"
#include "app/SerialQtHooks.h"
#include "serial/PortPrompt.h"

void PrepareStartDirectory(const TemporaryDirectory& directory, const std::string& pollRate) {
  const std::string resources = AZIMARA_RESOURCES_DIR;
  for (const char* file : {"Windrose_AZ.jpg", "Windrose_EL.jpg", "QV_M_language.csv"}) {
    std::filesystem::copy_file(resources + "/" + file, directory.Path(file));
  }
  std::ofstream settings(directory.Path("QV_M.ini"), std::ios::binary);
  for (const std::string& line :
       {std::string("1"), std::string("EN"), pollRate, std::string("10"), std::string("0"),
        std::string("0"), std::string("2"), std::string("50"), std::string("50")}) {
    settings << line << "\r\n";
  }
  // The network server stays off: its port may be taken.
  std::ofstream(directory.Path("QV_M_remote.ini"), std::ios::binary) << "enabled=off\r\n";
}

int RunInPanelApplication(char* program, const std::function<int()>& measure) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  char* qtArgv[] = {program, nullptr};
  QApplication application(qtArgc, qtArgv);
  const SerialQtHooks serialHooks;
  SetPortPrompt({});
  InstallMessageBoxes();
  // A box would wait for a click nobody gives: its text goes to the error output instead.
  SetMessageBoxHandler([](MessageBoxKind, const QString& text) {
    std::fprintf(stderr, "message box: %s\n", text.toLocal8Bit().constData());
  });
  return measure();
}
