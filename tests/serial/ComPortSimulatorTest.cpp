// The serial port component against the GS-232B simulator: a position query
// sent byte by byte and its reply delivered through OnTriggerAvail, as the
// panel polls; and the example program doing the same.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "serial/SioComPort.h"
#include "tests/serial/support/ComPortGui.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/ChildProcess.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TestPatience.h"

namespace {

constexpr int kAzimuth = 123;
constexpr int kElevation = 45;

// The simulator's answer to "C2" at the given position.
std::string bothReport(int azimuth, int elevation) {
  char text[32];
  std::snprintf(text, sizeof text, "AZ=%03d  EL=%03d", azimuth, elevation);
  return text;
}

class WithSimulator : public ::testing::Test {
 protected:
  TemporaryDirectory dir;
  CurrentDirectory inside{dir.Path()};
  SimulatorProcess simulator{{"--link", dir.Path("COM1"), "--az", std::to_string(kAzimuth), "--el",
                              std::to_string(kElevation)}};
};

TEST_F(WithSimulator, APositionQueryIsAnsweredThroughTheDataAvailableEvent) {
  ComPortGui gui;
  auto port = std::make_unique<TSioComPort>();
  port->SetComNumber(1);
  port->SetBaud(9600);
  std::mutex lock;
  std::string reply;
  std::atomic<bool> complete{false};
  // As the panel's handler: nothing until a whole report waits.
  port->SetOnTriggerAvail([&](TSioCustomComPort* CP, uint16_t Count) {
    if (Count < 16) return;
    const std::lock_guard<std::mutex> guard(lock);
    for (uint16_t i = 0; i < Count; ++i) reply += static_cast<char>(CP->ReadChar());
    complete = true;
  });
  gui.Run([&] {
    port->SetOpen(true);
    for (const char c : std::string("C2\r")) port->SendChar(static_cast<uint8_t>(c));
  });
  ASSERT_TRUE(WaitUntil([&] { return complete.load(); }, kPatience));
  {
    const std::lock_guard<std::mutex> guard(lock);
    EXPECT_EQ(reply, bothReport(kAzimuth, kElevation) + "\r\n");
  }
  gui.Run([&] { port.reset(); });
}

TEST_F(WithSimulator, TheExamplePrintsTheReply) {
  ChildProcess example(COMEXAMPLE_PATH, {});
  EXPECT_EQ(example.ReadAll(Deadline(kPatience)), bothReport(kAzimuth, kElevation) + "\n");
  const std::optional<int> status = example.Wait(Deadline(kPatience));
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

}  // namespace
