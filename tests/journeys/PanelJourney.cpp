#include "tests/journeys/PanelJourney.h"

#include <signal.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "serial/Deadline.h"
#include "tests/journeys/FormPlaces.h"
#include "tests/journeys/ToolRun.h"
#include "tests/support/FileBytes.h"
#include "tests/tools/TestPatience.h"

namespace {

constexpr const char* kWindowTitle = "^Azimara M V1.7$";
// The panel's hand colour, green 128.
constexpr Rgb kHandColour{0, 128, 0};

int shellValue(const std::string& shell, const std::string& key) {
  std::istringstream lines(shell);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(key + "=", 0) == 0) return std::stoi(line.substr(key.size() + 1));
  }
  throw std::runtime_error("xdotool gave no " + key + " in:\n" + shell);
}

}  // namespace

// The panel must show its window on the private X server, whatever platform the caller chose.
PanelJourney::PanelJourney() {
  unsetenv("QT_QPA_PLATFORM");
  // The network server stays off unless a journey turns it on: no test may take port 4533,
  // which another program on the machine may hold.
  WriteFile("QV_M_remote.ini", "enabled=off\r\n");
}

void PanelJourney::WriteFile(const std::string& name, const std::string& content) const {
  WriteBytes(Path(name), content);
}

std::string PanelJourney::ReadFile(const std::string& name) const { return ReadBytes(Path(name)); }

void PanelJourney::CopyResource(const std::string& name) const {
  std::filesystem::copy_file(std::string(AZIMARA_RESOURCES_DIR) + "/" + name, Path(name),
                             std::filesystem::copy_options::overwrite_existing);
}

void PanelJourney::CopyPictures() const {
  CopyResource("Windrose_AZ.jpg");
  CopyResource("Windrose_EL.jpg");
}

std::vector<std::string> PanelJourney::SettingsLines() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile("QV_M.ini"));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void PanelJourney::StartSimulator(const std::vector<std::string>& options,
                                  const std::string& link) {
  std::vector<std::string> all{"--link", Path(link), "--log", Path("sim.log")};
  all.insert(all.end(), options.begin(), options.end());
  simulator_.reset();
  simulator_.emplace(all);
}

void PanelJourney::KillSimulator() {
  (void)simulator_->Stop(SIGKILL);
  simulator_.reset();
}

std::vector<WireEntry> PanelJourney::Wire() const { return ReadWireLog(Path("sim.log")); }

void PanelJourney::StartPanel() {
  panel_.reset();
  panel_.emplace("/bin/sh", std::vector<std::string>{"-c", "cd \"$0\" && exec \"$1\"", Path(""),
                                                     AZIMARA_PATH});
  const std::string found = RunToolChecked("xdotool", {"search", "--sync", "--name", kWindowTitle});
  window_ = found.substr(0, found.find('\n'));
  layout_ = {};
}

std::optional<int> PanelJourney::WaitForPanelEnd(std::chrono::milliseconds timeout) {
  return panel_->Wait(Deadline(timeout));
}

WindowGeometry PanelJourney::Geometry() const {
  const std::string shell = RunToolChecked("xdotool", {"getwindowgeometry", "--shell", window_});
  return {shellValue(shell, "X"), shellValue(shell, "Y"), shellValue(shell, "WIDTH"),
          shellValue(shell, "HEIGHT")};
}

std::string PanelJourney::WindowTitle() const {
  // _NET_WM_NAME(UTF8_STRING) = "title"
  const std::string shown = RunToolChecked("xprop", {"-id", window_, "_NET_WM_NAME"});
  const size_t first = shown.find('"');
  const size_t last = shown.rfind('"');
  if (first == std::string::npos || last == first) {
    throw std::runtime_error("xprop showed no title: " + shown);
  }
  return shown.substr(first + 1, last - first - 1);
}

void PanelJourney::MoveWindow(int x, int y) {
  RunToolChecked("xdotool", {"windowmove", window_, std::to_string(x), std::to_string(y)});
  if (!Eventually([&] { return Geometry().X == x && Geometry().Y == y; })) {
    throw std::runtime_error("the window did not move");
  }
  layout_ = {};
}

void PanelJourney::MoveMouse(int x, int y) const {
  RunToolChecked("xdotool", {"mousemove", std::to_string(x), std::to_string(y)});
}

void PanelJourney::Click(int x, int y) const {
  MoveMouse(x, y);
  RunToolChecked("xdotool", {"click", "1"});
}

void PanelJourney::ClickControl(const std::string& name) {
  const AccessibleNode control = Located(name);
  Click(control.CentreX(), control.CentreY());
}

void PanelJourney::Type(const std::string& text) const {
  RunToolChecked("xdotool", {"type", "--delay", "20", text});
}

void PanelJourney::Keys(const std::vector<std::string>& keys) const {
  std::vector<std::string> args{"key", "--delay", "50"};
  args.insert(args.end(), keys.begin(), keys.end());
  RunToolChecked("xdotool", args);
}

AccessibleNode PanelJourney::Located(const std::string& name) {
  const auto match = isControl(name);
  if (!layout_.Find(match)) layout_ = WaitForAccessible(match);
  return *layout_.Find(match);
}

void PanelJourney::Enter(const std::string& field, const std::string& text) {
  ClickControl(field);
  Keys({"End", "shift+Home"});
  Type(text);
}

void PanelJourney::EnterSelector(const std::string& box, const std::string& text) {
  focusSelector(box);
  Keys({"End", "shift+Home"});
  Type(text);
}

void PanelJourney::StepSelector(const std::string& box, const std::string& key, int count) {
  focusSelector(box);
  Keys(std::vector<std::string>(static_cast<size_t>(count), key));
}

void PanelJourney::focusSelector(const std::string& name) {
  const AccessibleNode box = Located(name);
  // The left part of a selector is its edit field: a click there gives it the focus without
  // opening the list.
  Click(box.X + 10, box.CentreY());
}

void PanelJourney::StartReadyPanel(const std::vector<std::string>& simulatorOptions) {
  CopyPictures();
  CopyResource("QV_M_language.csv");
  StartSimulator(simulatorOptions);
  StartPanel();
  if (WaitForMorePolls(1).empty()) throw std::runtime_error("the panel does not poll");
}

AccessibleTree PanelJourney::WaitForAccessible(
    const std::function<bool(const AccessibleNode&)>& match) {
  AccessibleTree tree;
  const bool found = Eventually([&] {
    tree = AccessibleTree::Read();
    return tree.Find(match).has_value();
  });
  if (!found) {
    std::string seen;
    for (const AccessibleNode& node : tree.Nodes()) {
      seen += node.Role + " '" + node.Name + "' '" + node.Description + "' '" + node.Text + "'\n";
    }
    throw std::runtime_error("the accessibility bus never showed the awaited object; last seen:\n" +
                             seen);
  }
  return tree;
}

AccessibleNode PanelJourney::Control(const std::string& name) {
  const auto match = isControl(name);
  return *WaitForAccessible(match).Find(match);
}

std::function<bool(const AccessibleNode&)> PanelJourney::isControl(const std::string& name) const {
  const FormPlace place = PlaceOf(name);
  const WindowGeometry window = Geometry();
  return [place, window](const AccessibleNode& node) {
    return node.Role == place.Role && node.X == window.X + place.X && node.Y == window.Y + place.Y;
  };
}

void PanelJourney::ConfirmMessage(const std::string& text) {
  const AccessibleTree tree =
      WaitForAccessible([&](const AccessibleNode& node) { return node.Name == text; });
  const auto ok = tree.Find(
      [](const AccessibleNode& node) { return node.Role == "push button" && node.Name == "OK"; });
  if (!ok) throw std::runtime_error("the message box '" + text + "' has no OK button");
  Click(ok->CentreX(), ok->CentreY());
  const bool closed = Eventually([&] { return !AccessibleTree::Read().Named(text).has_value(); });
  if (!closed) throw std::runtime_error("the message box '" + text + "' stayed open");
}

bool PanelJourney::Eventually(const std::function<bool()>& condition) {
  const Deadline deadline(kPatience);
  while (!condition()) {
    if (deadline.Passed()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

std::vector<WireEntry> PanelJourney::WaitForMorePolls(size_t count) {
  const size_t before = Polls(Wire()).size();
  std::vector<WireEntry> polls;
  (void)Eventually([&] {
    polls = Polls(Wire());
    return polls.size() >= before + count;
  });
  return polls;
}

std::vector<WireEntry> PanelJourney::WaitForCommands(size_t count) {
  std::vector<WireEntry> commands;
  (void)Eventually([&] {
    commands = Commands(Wire());
    return commands.size() >= count;
  });
  return commands;
}

bool HandColourNear(const ScreenImage& screen, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (screen.At(x + dx, y + dy) == kHandColour) return true;
    }
  }
  return false;
}
