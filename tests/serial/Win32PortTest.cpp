// The Win32 port against the GS-232B simulator on a real COM device: under
// Wine, the simulator's pseudo-terminal mapped as COM<AZIMARA_SIMULATOR_PORT>
// (tests/wine); the port number after it is not mapped. Opening, the line at
// 9600 8N1, the poll query and its report through OnTriggerAvail and
// ReadChar, purging, closing and opening again, and a port that does not
// exist. What the driver cannot do here is probed, and the test that needs
// it skipped with the reason.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "serial/CommCodes.h"
#include "serial/LastError.h"
#include "serial/PortDeviceName.h"
#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "serial/SioWin32Dispatcher.h"
#include "tests/serial/support/ComPortGui.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/tools/TestPatience.h"

namespace {

// The position the station's simulator starts at (wine-station.sh).
const std::string kReport = "AZ=123  EL=045\r\n";
const std::string kQuery = "C2\r";

std::optional<uint16_t> simulatorPort() {
  const char* number = std::getenv("AZIMARA_SIMULATOR_PORT");
  if (number == nullptr) return std::nullopt;
  return static_cast<uint16_t>(std::atoi(number));
}

// Bytes the data-available notices announced and what a handler read.
class Notices {
 public:
  // Installs a handler on gui that reads every announced byte once at least
  // wanted bytes wait, as the panel's handler does with a report.
  Notices(TestGuiLoop& gui, size_t wanted) : wanted_(wanted) {
    gui.SetHandler([this](TSioBaseDispatcher& port, uint32_t, uintptr_t count, intptr_t) {
      if (count < wanted_) return;
      const std::lock_guard<std::mutex> lock(lock_);
      for (uintptr_t i = 0; i < count; ++i) {
        uint8_t byte = 0;
        if (port.ReadByte(byte) == 0) read_ += static_cast<char>(byte);
      }
    });
  }

  std::string Read() {
    const std::lock_guard<std::mutex> lock(lock_);
    return read_;
  }
  bool WaitForRead(size_t count) {
    return WaitUntil([&] { return Read().size() >= count; }, kPatience);
  }

 private:
  const size_t wanted_;
  std::mutex lock_;
  std::string read_;
};

class Win32Port : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::optional<uint16_t> number = simulatorPort();
    if (!number) GTEST_SKIP() << "no simulator port: run through ctest, whose Wine station maps it";
    portNumber = *number;
  }

  // Opens port as the component does; the InitDevice result.
  int32_t Open(TSioWin32Dispatcher& port) {
    return OpenLikeComponent(port, gui, 1, PortDeviceName(portNumber));
  }

  void Send(TSioWin32Dispatcher& port, const std::string& text) {
    ASSERT_EQ(port.WriteBlock(reinterpret_cast<const uint8_t*>(text.data()),
                              static_cast<uint32_t>(text.size())),
              0);
  }

  uint16_t portNumber = 0;
  std::shared_ptr<TestGuiLoop> gui = std::make_shared<TestGuiLoop>();
};

TEST_F(Win32Port, OpensTheDeviceAndSetsTheLineTo9600EightNoneOne) {
  TSioWin32Dispatcher port(nullptr);
  ASSERT_EQ(Open(port), 0);
  EXPECT_TRUE(port.Started());
  EXPECT_EQ(port.RunningThreads(), 4);
  // What the device itself holds now.
  Dcb line;
  ASSERT_EQ(port.FetchLineSettings(line), 0);
  EXPECT_EQ(line.BaudRate, 9600u);
  EXPECT_EQ(line.ByteSize, 8);
  EXPECT_EQ(line.Parity, kNoParity);
  EXPECT_EQ(line.StopBits, kOneStopBit);
}

TEST_F(Win32Port, APollQueryIsAnsweredWithTheReportAndTheThreadsStayUp) {
  Notices notices(*gui, kReport.size());
  TSioWin32Dispatcher port(nullptr);
  ASSERT_EQ(Open(port), 0);
  Send(port, kQuery);
  ASSERT_TRUE(notices.WaitForRead(kReport.size()));
  EXPECT_EQ(notices.Read(), kReport);
  EXPECT_EQ(port.UnreadCount(), 0u);
  // No thread ended with a device error: a driver that cannot watch every
  // line event (Wine's) still carries the data.
  EXPECT_EQ(port.LineErrorWord(), 0);
  EXPECT_EQ(port.RunningThreads(), 4);
}

TEST_F(Win32Port, PurgingDropsTheUnreadReportAndTheNextQueryBringsAFreshOne) {
  // No notice reads anything until more than one report waits.
  Notices notices(*gui, kReport.size() + 1);
  TSioWin32Dispatcher port(nullptr);
  ASSERT_EQ(Open(port), 0);
  Send(port, kQuery);
  ASSERT_TRUE(WaitUntil([&] { return port.UnreadCount() == kReport.size(); }, kPatience));
  // On the GUI thread, as the component purges: not while a notice runs.
  gui->Call([&] {
    EXPECT_NE(port.DiscardInput(), 0);
    EXPECT_NE(port.DiscardOutput(), 0);
    EXPECT_EQ(port.OutputUsed(), 0u);
  });
  // At once, or as the delivery of a notice for those bytes ends.
  ASSERT_TRUE(WaitUntil([&] { return port.UnreadCount() == 0; }, kPatience));
  Send(port, kQuery);
  ASSERT_TRUE(WaitUntil([&] { return port.UnreadCount() == kReport.size(); }, kPatience));
  EXPECT_TRUE(notices.Read().empty());
}

TEST_F(Win32Port, ClosingStopsTheThreadsCleanlyAndTheDeviceOpensAgain) {
  for (int round = 0; round < 2; ++round) {
    Notices notices(*gui, kReport.size());
    TSioWin32Dispatcher port(nullptr);
    ASSERT_EQ(Open(port), 0) << "round " << round;
    Send(port, kQuery);
    ASSERT_TRUE(notices.WaitForRead(kReport.size())) << "round " << round;
    port.FinishDevice();
    EXPECT_FALSE(port.Started());
    EXPECT_EQ(port.RunningThreads(), 0);
    EXPECT_LT(port.DeviceHandle(), 0);
    // The threads ended without an error code.
    EXPECT_EQ(port.LineErrorWord(), 0);
    EXPECT_EQ(port.CloseDevice(), 0);
  }
}

TEST_F(Win32Port, APortThatDoesNotExistIsNoSuchPort) {
  TSioWin32Dispatcher port(nullptr);
  EXPECT_EQ(OpenLikeComponent(port, gui, 1, PortDeviceName(portNumber + 1)), -2);
  EXPECT_FALSE(port.Started());
  EXPECT_LT(port.DeviceHandle(), 0);
  EXPECT_EQ(port.OpenDevice(PortDeviceName(portNumber + 1).c_str(), 64, 64), -1);
  EXPECT_EQ(SioLastError(), 2);
}

TEST_F(Win32Port, APortInUseIsRefused) {
  TSioWin32Dispatcher holder(nullptr);
  ASSERT_EQ(Open(holder), 0);
  TSioWin32Dispatcher second(nullptr);
  if (second.OpenDevice(PortDeviceName(portNumber).c_str(), 64, 64) >= 0) {
    GTEST_SKIP() << "the driver lets a second program open the port (Wine does), so a port in "
                    "use cannot be seen here";
  }
  EXPECT_EQ(SioLastError(), 5);
}

TEST_F(Win32Port, TheComponentPollsAndReadsTheReportThroughOnTriggerAvail) {
  ComPortGui component;
  auto port = std::make_unique<TSioComPort>();
  port->SetComNumber(portNumber);
  port->SetBaud(9600);
  std::mutex lock;
  std::string reply;
  std::atomic<bool> complete{false};
  // As the panel's handler: nothing until a whole report waits.
  port->SetOnTriggerAvail([&](TSioCustomComPort* CP, uint16_t Count) {
    if (Count < kReport.size()) return;
    const std::lock_guard<std::mutex> guard(lock);
    for (uint16_t i = 0; i < Count; ++i) reply += static_cast<char>(CP->ReadChar());
    complete = true;
  });
  component.Run([&] {
    port->SetOpen(true);
    for (const char c : kQuery) port->SendChar(static_cast<uint8_t>(c));
  });
  ASSERT_TRUE(WaitUntil([&] { return complete.load(); }, kPatience));
  {
    const std::lock_guard<std::mutex> guard(lock);
    EXPECT_EQ(reply, kReport);
  }
  component.Run([&] {
    port->SetOpen(false);
    EXPECT_FALSE(port->Open());
    port->SetComNumber(portNumber + 1);
    EXPECT_THROW(port->SetOpen(true), EBadId);
    EXPECT_FALSE(port->Open());
    port.reset();
  });
}

TEST_F(Win32Port, TheModemLinesReachTheModemStatus) {
  TSioWin32Dispatcher port(nullptr);
  ASSERT_EQ(Open(port), 0);
  DWORD lines = 0;
  if (!GetCommModemStatus(port.Device(), &lines)) {
    GTEST_SKIP() << "the driver has no modem lines (GetCommModemStatus fails with error "
                 << GetLastError() << ", as Wine's does on a pseudo-terminal)";
  }
  EXPECT_EQ(port.ReadModemStatus(0xF0) & 0xF0, lines & 0xF0);
}

}  // namespace
