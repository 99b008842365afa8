#pragma once
// One operator journey: a private X server and accessibility bus, a fresh start-up directory,
// the simulator on its COM1 and the real azimara binary started there, driven with xdotool
// like an operator would and watched through the simulator's log, the files, the X server's
// window geometry, screenshots and the accessibility bus.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/journeys/AccessibilityBus.h"
#include "tests/journeys/AccessibleTree.h"
#include "tests/journeys/PrivateXServer.h"
#include "tests/journeys/ScreenImage.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/ChildProcess.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/WireLog.h"

struct WindowGeometry {
  int X = 0;  // client area on the screen
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

class PanelJourney : public ::testing::Test {
 protected:
  PanelJourney();

  std::string Path(const std::string& name) const { return dir_.Path(name); }
  void WriteFile(const std::string& name, const std::string& content) const;
  std::string ReadFile(const std::string& name) const;
  // Copies a file of resources/ into the start-up directory.
  void CopyResource(const std::string& name) const;
  // The dial pictures, without which the panel does not get as far as opening its port.
  void CopyPictures() const;
  // The lines of QV_M.ini without their CR LF.
  std::vector<std::string> SettingsLines() const;

  // gs232sim with a link named link in the start-up directory and its log in sim.log.
  void StartSimulator(const std::vector<std::string>& options, const std::string& link = "COM1");
  void KillSimulator();
  std::vector<WireEntry> Wire() const;

  // Starts azimara in the start-up directory and waits for its main window.
  void StartPanel();
  // Pictures, language file, the simulator on COM1 with options, the panel, its first poll.
  void StartReadyPanel(const std::vector<std::string>& simulatorOptions);
  // The panel's wait status once it has ended, nothing if it still runs after timeout.
  std::optional<int> WaitForPanelEnd(std::chrono::milliseconds timeout);
  WindowGeometry Geometry() const;
  // The title window managers and task bars show (_NET_WM_NAME).
  std::string WindowTitle() const;
  // Moves the window as a window manager would, and waits until it stands there.
  void MoveWindow(int x, int y);

  // Mouse and keyboard, at screen positions and into the window that has the focus.
  void MoveMouse(int x, int y) const;
  void Click(int x, int y) const;
  void ClickControl(const std::string& name);
  void Type(const std::string& text) const;
  void Keys(const std::vector<std::string>& keys) const;
  // Clicks into a numeric field, replaces its text by text.
  void Enter(const std::string& field, const std::string& text);
  // Gives a selector (a ComboBox) the focus and presses key count times.
  void StepSelector(const std::string& box, const std::string& key, int count);
  // Replaces the text of a selector by typing text over it.
  void EnterSelector(const std::string& box, const std::string& text);

  // The panel's accessible objects once a node that match accepts is among them.
  AccessibleTree WaitForAccessible(const std::function<bool(const AccessibleNode&)>& match);
  // The control with this form name, found at its place in the window, as it reads now.
  AccessibleNode Control(const std::string& name);
  // A control where it stood when first looked for: for clicking, not for its texts.
  AccessibleNode Located(const std::string& name);
  // Waits for a message box saying text and presses its OK button.
  void ConfirmMessage(const std::string& text);

  // Polls condition every 50 ms until it holds or kPatience has passed.
  static bool Eventually(const std::function<bool()>& condition);
  // Waits until the simulator has received count more polls than now and returns them all.
  std::vector<WireEntry> WaitForMorePolls(size_t count);
  // Waits until the simulator has received count commands besides the polls, returns them all.
  std::vector<WireEntry> WaitForCommands(size_t count);

  // The selectors.
  static constexpr const char* kPortBox = "ComboBox1";
  static constexpr const char* kLanguageBox = "ComboBox2";
  static constexpr const char* kPollRateBox = "ComboBox3";
  static constexpr const char* kAxisBox = "ComboBox4";

  TemporaryDirectory dir_;
  PrivateXServer xServer_;
  AccessibilityBus bus_;
  std::optional<SimulatorProcess> simulator_;
  std::optional<ChildProcess> panel_;
  std::string window_;
  AccessibleTree layout_;

 private:
  void focusSelector(const std::string& box);
  // Whether a node is the control with this form name: its role at its place in the window.
  std::function<bool(const AccessibleNode&)> isControl(const std::string& name) const;
};

// Whether the screenshot shows the hand's green within one pixel of (x, y).
bool HandColourNear(const ScreenImage& screen, int x, int y);
