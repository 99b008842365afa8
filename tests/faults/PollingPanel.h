#pragma once
// A panel polling a GS-232B simulator on its COM1 twice a second, and a record of every text its
// two position read-outs showed meanwhile: a read-out may only ever show its initial "0" or a
// position the controller sent.

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/app/PanelFixture.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TestPatience.h"

class PollingPanelTest : public PanelTest {
 protected:
  // The simulator's position.
  static constexpr int kAzimuth = 330;
  static constexpr int kElevation = 45;

  // A simulator at kAzimuth, kElevation with the extra options on COM1 (replacing the one
  // before), then the panel with axis configuration config, port COM1 and poll rate 500.
  void Start(const std::vector<std::string>& options, int config = 2);
  // A simulator with options on COM1, replacing the one before.
  void StartSimulator(std::vector<std::string> options);
  // Picks COM1 again in the port box, as the operator does after reconnecting a controller:
  // the port is closed and opened anew.
  void ChoosePortAgain();

  // Runs the event loop until condition holds (false after patience), noting the read-outs'
  // texts every few milliseconds.
  bool WaitWatching(const std::function<bool()>& condition,
                    std::chrono::milliseconds patience = kPatience);
  bool WaitForReadOuts(const QString& left, const QString& right,
                       std::chrono::milliseconds patience = kPatience);
  // Waits until the echo memo holds count lines besides its initial one: count reads.
  bool WaitForEchoLines(int count, std::chrono::milliseconds patience = kPatience);

  // True when the dial shows picture file name without any pointer over it.
  bool ShowsNoPointer(QWidget* dial, const std::string& name) const;

  std::string LogPath() const { return Path("commands.log"); }

  std::unique_ptr<SimulatorProcess> simulator;
  std::unique_ptr<TForm1> form;
  // Every text Label6 and Label7 showed while waiting.
  std::set<QString> shownLeft;
  std::set<QString> shownRight;
};
