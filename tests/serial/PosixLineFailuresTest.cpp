// What the POSIX port reports when a line setting fails, and RS-485 mode
// through the kernel's RS-485 support.

#include <gtest/gtest.h>

#include <cerrno>
#include <mutex>
#include <vector>

#include "serial/CommCodes.h"
#include "serial/SioPosixDispatcher.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/serial/support/PseudoTerminal.h"

namespace {

// A terminal whose settings writes fail with a chosen error once it is open,
// and whose driver has (or lacks) RS-485 support.
class FailingTerminal : public TSioPosixDispatcher {
 public:
  explicit FailingTerminal(bool rs485 = false) : TSioPosixDispatcher(nullptr), rs485_(rs485) {}

  void FailWrites(int error) {
    const std::lock_guard<std::mutex> lock(lock_);
    writeError_ = error;
  }
  // The RS-485 switches the driver was asked for, in order.
  std::vector<bool> Rs485Writes() {
    const std::lock_guard<std::mutex> lock(lock_);
    return rs485Writes_;
  }

 protected:
  int WriteTerminal(int device, const termios2& line) override {
    {
      const std::lock_guard<std::mutex> lock(lock_);
      if (writeError_ != 0) return writeError_;
    }
    return TSioPosixDispatcher::WriteTerminal(device, line);
  }

  int WriteRs485(int device, bool on) override {
    if (!rs485_) return TSioPosixDispatcher::WriteRs485(device, on);
    const std::lock_guard<std::mutex> lock(lock_);
    rs485Writes_.push_back(on);
    return 0;
  }

 private:
  const bool rs485_;
  std::mutex lock_;
  int writeError_ = 0;
  std::vector<bool> rs485Writes_;
};

TEST(PosixLineFailures, AFailureWhileOpenIsMinusTheSystemsErrorAndWhileOpeningWhatItMeans) {
  struct Row {
    int error;
    int32_t open;
  } const rows[] = {{EIO, -EIO}, {ENODEV, -ENODEV}, {ENOTTY, -ENOTTY}, {EINVAL, -EINVAL}};
  for (const Row& row : rows) {
    PseudoTerminal pty;
    auto gui = std::make_shared<TestGuiLoop>();
    FailingTerminal port;
    ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0);
    port.FailWrites(row.error);
    EXPECT_EQ(port.ConfigureLine(19200, kNoParity, 8, 1), row.open) << row.error;
  }
  // The same failure at the opening says the port is not there.
  PseudoTerminal pty;
  auto gui = std::make_shared<TestGuiLoop>();
  FailingTerminal opening;
  opening.FailWrites(EIO);
  EXPECT_EQ(OpenLikeComponent(opening, gui, 1, pty.SlavePath()), -2);
}

TEST(PosixLineFailures, SendingAndLineSettingsAfterAHangUpAreDeviceErrors) {
  PseudoTerminal pty;
  auto gui = std::make_shared<TestGuiLoop>();
  TSioPosixDispatcher port(nullptr);
  ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0);
  pty.CloseMaster();
  ASSERT_TRUE(WaitUntil([&] { return port.DeviceLost() && port.RunningThreads() == 0; }));
  const uint8_t poll[] = {'C', '2', '\r'};
  EXPECT_EQ(port.WriteBlock(poll, sizeof poll), -160) << "not 'output buffer too small'";
  EXPECT_EQ(port.ConfigureLine(19200, kNoParity, 8, 1), -160) << "not 'no such port'";
}

TEST(PosixLineFailures, Rs485ModeIsRefusedByADriverWithoutItAndLeavesTheLineAsItWas) {
  PseudoTerminal pty;
  auto gui = std::make_shared<TestGuiLoop>();
  TSioPosixDispatcher port(nullptr);
  ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0);
  EXPECT_EQ(port.SetRS485Mode(true), -EINVAL);
  EXPECT_FALSE(port.RS485Mode());
  EXPECT_EQ(port.LineSettings().Flags & kDcbRtsControlMask, kRtsControlEnable);
  EXPECT_EQ(port.SetRtsLine(false), 0) << "RTS is still the port's to set";
}

TEST(PosixLineFailures, Rs485ModeIsTheDriversOwnAndEndsWithTheMode) {
  PseudoTerminal pty;
  auto gui = std::make_shared<TestGuiLoop>();
  FailingTerminal port(true);
  ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0);
  EXPECT_EQ(port.SetRS485Mode(true), 0);
  EXPECT_TRUE(port.RS485Mode());
  EXPECT_EQ(port.SetRtsLine(true), 1) << "the driver drives RTS now";
  // Other settings keep the mode: it is not switched again.
  EXPECT_EQ(port.ConfigureLine(19200, kNoParity, 8, 1), 0);
  EXPECT_EQ(port.Rs485Writes(), std::vector<bool>{true});
  EXPECT_EQ(port.SetRS485Mode(false), 0);
  EXPECT_EQ(port.SetRS485Mode(true), 0);
  // The next program finds the driver as it was before the port opened.
  EXPECT_EQ(port.CloseDevice(), 0);
  EXPECT_EQ(port.Rs485Writes(), (std::vector<bool>{true, false, true, false}));
}

}  // namespace
