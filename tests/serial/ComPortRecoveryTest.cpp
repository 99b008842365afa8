// The serial port component when its device goes away: the port closes
// itself and says so once, and opens again on the device that comes back,
// however often that happens.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "tests/serial/support/ComPortGui.h"
#include "tests/serial/support/LockDirectory.h"
#include "tests/serial/support/ProcessCounts.h"
#include "tests/serial/support/PseudoTerminal.h"
#include "tests/serial/support/ThreadWaits.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

constexpr const char* kLink = "COM5";

class ComPortRecovery : public ::testing::Test {
 protected:
  void SetUp() override {
    port->SetComNumber(5);
    port->SetBaud(9600);
    port->SetOnPortClose([this](TSioCustomComPort*) { note("close"); });
    port->SetOnPortLost(
        [this](TSioCustomComPort* CP) { note(CP->Open() ? "lost while open" : "lost"); });
    port->SetOnTriggerAvail([this](TSioCustomComPort* CP, uint16_t Count) {
      for (uint16_t i = 0; i < Count; ++i) {
        const uint8_t byte = CP->ReadChar();
        const std::lock_guard<std::mutex> lock(lock_);
        received_.push_back(byte);
      }
    });
  }

  void TearDown() override {
    gui.Run([&] { port.reset(); });
  }

  // A new device behind COM5, as a replugged adapter or a restarted
  // controller brings one.
  void Plug() {
    unlink(kLink);
    device = std::make_unique<PseudoTerminal>();
    ASSERT_EQ(symlink(device->SlavePath().c_str(), kLink), 0);
  }

  void Open() {
    gui.Run([&] { port->SetOpen(true); });
  }

  bool IsOpen() {
    return gui.Get<bool>([&] { return port->Open(); });
  }

  std::vector<std::string> Events() {
    const std::lock_guard<std::mutex> lock(lock_);
    return events_;
  }

  size_t Lost() {
    size_t lost = 0;
    for (const std::string& event : Events()) lost += event.starts_with("lost");
    return lost;
  }

  // A poll out and a reply back through the open port.
  void RoundTrip() {
    gui.Run([&] {
      port->SendChar('C');
      port->SendChar('\r');
    });
    ASSERT_EQ(device->Read(2), (std::vector<uint8_t>{'C', '\r'}));
    const size_t before = ReceivedCount();
    ASSERT_TRUE(device->Write({'A', 'Z'}));
    ASSERT_TRUE(WaitUntil([&] { return ReceivedCount() >= before + 2; }));
  }

  size_t ReceivedCount() {
    const std::lock_guard<std::mutex> lock(lock_);
    return received_.size();
  }

  LockDirectory locks;
  TemporaryDirectory dir;
  CurrentDirectory inside{dir.Path()};
  ComPortGui gui;
  std::unique_ptr<TSioComPort> port = std::make_unique<TSioComPort>();
  std::unique_ptr<PseudoTerminal> device;

 private:
  void note(const std::string& event) {
    const std::lock_guard<std::mutex> lock(lock_);
    events_.push_back(event);
  }

  std::mutex lock_;
  std::vector<std::string> events_;
  std::vector<uint8_t> received_;
};

TEST_F(ComPortRecovery, ADeviceThatGoesAwayClosesThePortGivesItBackAndSaysSoOnce) {
  Plug();
  Open();
  RoundTrip();
  const std::string lock = locks.LockOf(device->SlavePath());
  ASSERT_TRUE(PathExists(lock));

  device->CloseMaster();
  ASSERT_TRUE(WaitUntil([&] { return Lost() == 1; }));
  EXPECT_EQ(Events(), (std::vector<std::string>{"close", "lost"}));
  EXPECT_FALSE(IsOpen());
  gui.Run([&] { EXPECT_EQ(port->Phase(), ppClosed); });
  EXPECT_FALSE(PathExists(lock)) << "the lock goes with the device";

  // The adapter comes back, here as another device behind the same name.
  Plug();
  Open();
  RoundTrip();
  EXPECT_EQ(Lost(), 1u) << "one loss, one notice";
}

TEST_F(ComPortRecovery, OpeningWhileTheDeviceIsStillGoneRaisesAndChangesNothing) {
  Plug();
  Open();
  device->CloseMaster();
  ASSERT_TRUE(WaitUntil([&] { return Lost() == 1; }));
  // The link dangles once its terminal is gone. Not left to the dead
  // terminal's path: the kernel may give its number at once to a terminal of
  // a test running beside this one.
  unlink(kLink);
  ASSERT_EQ(symlink(dir.Path("gone").c_str(), kLink), 0);
  EXPECT_THROW(Open(), EBadId);
  EXPECT_FALSE(IsOpen());
  Plug();
  Open();
  EXPECT_TRUE(IsOpen());
}

TEST_F(ComPortRecovery, TwoHundredDevicesComeAndGoWithoutLeavingThreadsDescriptorsOrMemory) {
  constexpr int kWarmUp = 10;
  constexpr int kCycles = 200;
  ProcessFootprint before;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    if (cycle == kWarmUp) {
      // The last warm-up cycle's port threads may still be on their way out.
      ASSERT_TRUE(WaitUntil([] { return ThreadsNamed("sio ").empty(); }));
      before = TakeFootprint();
    }
    Plug();
    Open();
    RoundTrip();
    device->CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return Lost() == static_cast<size_t>(cycle + 1); })) << cycle;
    // The port threads end on their own once counted out; wait for them.
    if (cycle >= kWarmUp) {
      ASSERT_TRUE(WaitUntil([&] { return ThreadCount() == before.Threads; })) << cycle;
    }
  }
  device.reset();
  EXPECT_EQ(DescriptorCount(), before.Descriptors);
  const int64_t growth = ResidentKiB() - before.ResidentKiB;
  RecordProperty("ResidentGrowthKiB", static_cast<int>(growth));
#if !defined(__SANITIZE_THREAD__)
  // ThreadSanitizer keeps a history of every thread; only the plain build's
  // memory says something.
  EXPECT_LT(growth, 2048) << "KiB over " << kCycles - kWarmUp << " cycles";
#endif
}

}  // namespace
