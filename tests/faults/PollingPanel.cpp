#include "tests/faults/PollingPanel.h"

#include "tests/app/EventLoopWait.h"
#include "tests/app/PanelInput.h"

void PollingPanelTest::Start(const std::vector<std::string>& options, int config) {
  CopyLanguageFile();
  WriteSettings({"1", "EN", "500", "10", "0", "0", std::to_string(config), "50", "50"});
  StartSimulator(options);
  form = StartPanel();
  ASSERT_TRUE(form->SioComPort1.Open());
  ASSERT_TRUE(form->Timer1->Enabled());
}

void PollingPanelTest::StartSimulator(std::vector<std::string> options) {
  const std::vector<std::string> common = {"--link", Path("COM1"),
                                           "--log",  LogPath(),
                                           "--az",   std::to_string(kAzimuth),
                                           "--el",   std::to_string(kElevation)};
  options.insert(options.begin(), common.begin(), common.end());
  simulator.reset();
  simulator = std::make_unique<SimulatorProcess>(options);
}

void PollingPanelTest::ChoosePortAgain() { PickItem(form->ComboBox1, 0); }

bool PollingPanelTest::WaitWatching(const std::function<bool()>& condition,
                                    std::chrono::milliseconds patience) {
  return RunEventsUntil(
      [&] {
        shownLeft.insert(form->Label6->text());
        shownRight.insert(form->Label7->text());
        return condition();
      },
      patience, std::chrono::milliseconds(5));
}

bool PollingPanelTest::WaitForReadOuts(const QString& left, const QString& right,
                                       std::chrono::milliseconds patience) {
  return WaitWatching([&] { return form->Label6->text() == left && form->Label7->text() == right; },
                      patience);
}

bool PollingPanelTest::WaitForEchoLines(int count, std::chrono::milliseconds patience) {
  return WaitWatching([&] { return form->Echoes().LineCount() >= count + 1; }, patience);
}

bool PollingPanelTest::ShowsNoPointer(QWidget* dial, const std::string& name) const {
  return SamePixels(Shown(dial), PictureFile(Path(name)));
}
