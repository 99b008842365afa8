// The POSIX port over pseudo-terminals: opening, receiving, sending, purging,
// closing and a peer that goes away.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "serial/ExceptionDisplay.h"
#include "serial/LastError.h"
#include "serial/PlatformDispatcher.h"
#include "serial/PortPath.h"
#include "serial/ReadThread.h"
#include "serial/SioTAPI32Dispatcher.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/serial/support/PosixPort.h"
#include "tests/serial/support/PseudoTerminal.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

class PosixPort : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0); }

  void TearDown() override { ResumeOutput(); }

  // Stops the device's output, as a far end that takes nothing more would,
  // and puts a first block, which the write thread then holds unsent.
  void BlockTheWriteThread() {
    ASSERT_EQ(tcflow(port.Device(), TCOOFF), 0);
    ASSERT_FALSE(DeviceWritable(port.Device()));
    ASSERT_EQ(Send(kHeld), 0);
    ASSERT_TRUE(WaitUntil([&] { return port.PendingOutputCount() == 0; }));
  }

  // The bytes the blocked write thread holds.
  static constexpr uint32_t kHeld = 100;

  void ResumeOutput() {
    if (port.Device() >= 0) tcflow(port.Device(), TCOON);
  }

  // Puts the next count bytes of the pattern; the put's result.
  int32_t Send(size_t count) {
    const std::vector<uint8_t> bytes = PatternBytes(count, sent);
    const int32_t result = port.WriteBlock(bytes.data(), static_cast<uint32_t>(count));
    if (result == 0) sent += count;
    return result;
  }

  PseudoTerminal pty;
  std::shared_ptr<TestGuiLoop> gui = std::make_shared<TestGuiLoop>();
  ReceivedBytes received{*gui};
  TSioPosixDispatcher port{nullptr};
  size_t sent = 0;
};

// A port whose only thread is the read thread, so the test sees the items it
// queues.
class ReadThreadOnly : public TSioPosixDispatcher {
 public:
  ReadThreadOnly() : TSioPosixDispatcher(nullptr) {}
  void StartReading() {
    MarkThreadsStarted();
    StartThread(ThreadRole::Read, std::make_unique<TReadThread>(*this));
  }
};

TEST(PosixOpening, AMissingPortNumberIsNoSuchPort) {
  TemporaryDirectory dir;
  const CurrentDirectory inside(dir.Path());
  const uint32_t number = AbsentPortNumber(40);
  auto gui = std::make_shared<TestGuiLoop>();
  TSioPosixDispatcher port(nullptr);
  EXPECT_EQ(OpenLikeComponent(port, gui, 1, PortDeviceName(number)), -2);
  EXPECT_FALSE(port.Started());
  EXPECT_LT(port.DeviceHandle(), 0);
  EXPECT_LT(port.OpenDevice(PortDeviceName(number).c_str(), 64, 64), 0);
  EXPECT_EQ(SioLastError(), 2);
}

TEST(PosixOpening, APortHeldByAnotherOpenIsInUseUntilItCloses) {
  PseudoTerminal pty;
  auto gui = std::make_shared<TestGuiLoop>();
  auto holder = std::make_unique<TSioPosixDispatcher>(nullptr);
  ASSERT_EQ(OpenLikeComponent(*holder, gui, 1, pty.SlavePath()), 0);
  {
    TSioPosixDispatcher second(nullptr);
    EXPECT_EQ(OpenLikeComponent(second, gui, 1, pty.SlavePath()), -5);
    EXPECT_EQ(second.RunningThreads(), 0);
  }
  // The refused open left the holder's claim alone.
  int exclusive = 0;
  ASSERT_EQ(ioctl(holder->Device(), TIOCGEXCL, &exclusive), 0);
  EXPECT_NE(exclusive, 0);
  holder.reset();
  TSioPosixDispatcher next(nullptr);
  EXPECT_EQ(OpenLikeComponent(next, gui, 1, pty.SlavePath()), 0);
}

TEST(PosixOpening, AComLinkInTheCurrentDirectoryLeadsToItsDevice) {
  PseudoTerminal pty;
  TemporaryDirectory dir;
  const CurrentDirectory inside(dir.Path());
  ASSERT_EQ(symlink(pty.SlavePath().c_str(), "COM7"), 0);
  auto gui = std::make_shared<TestGuiLoop>();
  ReceivedBytes received(*gui);
  const std::unique_ptr<TSioBaseDispatcher> port =
      CreatePlatformDispatcher(nullptr, PortDeviceName(7));
  ASSERT_EQ(OpenLikeComponent(*port, gui, 1, PortDeviceName(7)), 0);
  const std::vector<uint8_t> hello{'h', 'e', 'l', 'l', 'o'};
  ASSERT_TRUE(pty.Write(hello));
  ASSERT_TRUE(received.WaitFor(hello.size()));
  EXPECT_EQ(received.Bytes(), hello);
}

TEST(PosixOpening, TheTelephonyVariantUsesTheDescriptorItWasGiven) {
  auto gui = std::make_shared<TestGuiLoop>();
  {
    TSioTAPI32Dispatcher none(nullptr, 0);
    EXPECT_EQ(OpenLikeComponent(none, gui, 1, "ignored"), -2007);
  }
  PseudoTerminal pty;
  const int device = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(device, 0);
  ReceivedBytes received(*gui);
  TSioTAPI32Dispatcher port(nullptr, device);
  ASSERT_EQ(OpenLikeComponent(port, gui, 1, "ignored"), 0);
  EXPECT_EQ(port.Device(), device);
  ASSERT_TRUE(pty.Write({1, 2, 3}));
  ASSERT_TRUE(received.WaitFor(3));
  EXPECT_EQ(received.Bytes(), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(PosixReceiving, BytesArrivingBetweenReadsComeInOrderInItemsOfAtMost256) {
  PseudoTerminal pty;
  ReadThreadOnly port;
  ASSERT_GE(port.OpenDevice(pty.SlavePath().c_str(), 64, 64), 0);
  Dcb line;
  ASSERT_EQ(port.FetchLineSettings(line), 0);
  ASSERT_EQ(port.ApplyLineSettings(line), 0);
  port.StartReading();

  std::vector<uint8_t> arrived;
  size_t items = 0;
  const auto collect = [&] {
    while (std::unique_ptr<TIOBuffer> item = port.InputQueue().PopFirst()) {
      auto* data = dynamic_cast<TDataBuffer*>(item.get());
      ASSERT_NE(data, nullptr);
      EXPECT_GT(data->UsedCount, 0u);
      EXPECT_LE(data->UsedCount, 256u);
      arrived.insert(arrived.end(), data->Data.get(), data->Data.get() + data->UsedCount);
      ++items;
    }
  };
  std::vector<uint8_t> sent;
  size_t least = 0;
  for (const size_t size : {100u, 700u, 1u, 300u, 256u}) {
    const std::vector<uint8_t> piece = PatternBytes(size, sent.size());
    ASSERT_TRUE(pty.Write(piece));
    sent.insert(sent.end(), piece.begin(), piece.end());
    least += (size + 255) / 256;
    ASSERT_TRUE(WaitUntil([&] {
      collect();
      return arrived.size() >= sent.size();
    }));
  }
  EXPECT_EQ(arrived, sent);
  EXPECT_GE(items, least);
}

TEST(PosixReceiving, ADescriptorClosedUnderTheReadThreadEndsItWithoutAnError) {
  PseudoTerminal pty;
  ReadThreadOnly port;
  ASSERT_GE(port.OpenDevice(pty.SlavePath().c_str(), 64, 64), 0);
  port.StartReading();
  // The thread sleeps with no time limit: whoever closes the device wakes
  // it, as the port's own close does.
  close(port.Device());
  port.SerialEvent().Set();
  EXPECT_TRUE(WaitUntil([&] { return port.RunningThreads() == 0; }));
  EXPECT_EQ(port.LineErrorWord(), 0);
}

TEST_F(PosixPort, EveryByteReachesTheHandlerInOrder) {
  const std::vector<uint8_t> bytes = PatternBytes(20000);
  for (size_t at = 0; at < bytes.size(); at += 3000) {
    const size_t count = std::min<size_t>(3000, bytes.size() - at);
    ASSERT_TRUE(pty.Write(
        {bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + count)}));
  }
  ASSERT_TRUE(received.WaitFor(bytes.size()));
  EXPECT_EQ(received.Bytes(), bytes);
}

TEST(PosixReceiving, PendingInputCountsOnlyTheFirstItemAndNothingBehindALineEvent) {
  const auto dataItem = [](uint32_t used) {
    auto item = std::make_unique<TDataBuffer>(256);
    item->UsedCount = used;
    return item;
  };
  TSioPosixDispatcher port(nullptr);
  port.InputQueue().PushItem(dataItem(100));
  port.InputQueue().PushItem(dataItem(50));
  EXPECT_EQ(port.PendingInputCount(), 100u);
  uint8_t taken[30];
  ASSERT_EQ(port.TakeReceivedBytes(taken, 30), 30);
  EXPECT_EQ(port.PendingInputCount(), 70u);

  TSioPosixDispatcher lineEventFirst(nullptr);
  lineEventFirst.InputQueue().PushItem(std::make_unique<TStatusBuffer>(0x80));
  lineEventFirst.InputQueue().PushItem(dataItem(100));
  EXPECT_EQ(lineEventFirst.PendingInputCount(), 0u);
}

TEST_F(PosixPort, PutBytesReachTheFarEnd) {
  ASSERT_EQ(Send(4000), 0);
  ASSERT_TRUE(WaitUntil([&] { return port.OutputUsed() == 0; }));
  ASSERT_EQ(Send(3000), 0);
  EXPECT_EQ(pty.Read(sent), PatternBytes(sent));
}

TEST_F(PosixPort, APutOfExactlyTheFreeRoomFillsTheRingAndTheNextDrainSendsIt) {
  BlockTheWriteThread();
  const uint32_t size = port.OutputSize();
  ASSERT_EQ(port.OutputFree(), size) << "the held block left the ring";
  EXPECT_EQ(port.OutputUsed(), kHeld) << "but it is not sent";
  ASSERT_EQ(Send(size), 0);
  EXPECT_EQ(port.PendingOutputCount(), size);
  EXPECT_EQ(port.OutputUsed(), size + kHeld);
  EXPECT_EQ(port.OutputFree(), 0u);
  EXPECT_EQ(Send(1), -3006);
  ResumeOutput();
  EXPECT_EQ(pty.Read(sent), PatternBytes(sent));
  EXPECT_TRUE(WaitUntil([&] { return port.OutputUsed() == 0; }));
}

TEST_F(PosixPort, APutEndingExactlyAtTheEndOfTheRingWrapsItFull) {
  BlockTheWriteThread();
  const uint32_t size = port.OutputSize();
  ASSERT_EQ(Send(size - 96), 0);
  ASSERT_EQ(Send(96), 0);
  EXPECT_EQ(port.PendingOutputCount(), size);
  EXPECT_EQ(Send(1), -3006);
  ResumeOutput();
  EXPECT_EQ(pty.Read(sent), PatternBytes(sent));
  // The ring works on after it was full.
  ASSERT_EQ(Send(size / 2), 0);
  ASSERT_EQ(Send(size / 2), 0);
  const size_t before = sent - size;
  EXPECT_EQ(pty.Read(size), PatternBytes(size, before));
}

TEST_F(PosixPort, PurgingOutputDuringABlockedWriteReturnsAndTheWriteThreadRunsOn) {
  BlockTheWriteThread();
  ASSERT_EQ(Send(2000), 0);
  EXPECT_NE(port.DiscardOutput(), 0);
  EXPECT_EQ(port.OutputUsed(), 0u);
  EXPECT_EQ(port.RunningThreads(), 4);

  ResumeOutput();
  const std::vector<uint8_t> marker{'a', 'f', 't', 'e', 'r'};
  ASSERT_EQ(port.WriteBlock(marker.data(), static_cast<uint32_t>(marker.size())), 0);
  // The held block and the queued bytes are gone; only the later put arrives.
  EXPECT_EQ(pty.Read(marker.size()), marker);
  EXPECT_TRUE(pty.ReadAvailable().empty());
}

TEST_F(PosixPort, ClosingAnIdlePortStopsItsFourThreadsAndGivesTheDeviceBack) {
  EXPECT_EQ(port.RunningThreads(), 4);
  EXPECT_EQ(port.CloseDevice(), 0);
  EXPECT_TRUE(WaitUntil([&] { return port.RunningThreads() == 0; }));
  EXPECT_FALSE(port.Started());
  EXPECT_LT(port.DeviceHandle(), 0);
  EXPECT_EQ(port.CloseDevice(), 0);

  const int device = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(device, 0);
  int exclusive = 1;
  EXPECT_EQ(ioctl(device, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);
  close(device);
  auto otherGui = std::make_shared<TestGuiLoop>();
  TSioPosixDispatcher next(nullptr);
  EXPECT_EQ(OpenLikeComponent(next, otherGui, 1, pty.SlavePath()), 0);
}

TEST_F(PosixPort, APeerThatGoesAwayEndsTheThreadsWithADeviceErrorAndNothingElse) {
  std::atomic<int> shown{0};
  SetExceptionDisplay([&](const std::exception&) { ++shown; });
  ASSERT_TRUE(pty.Write({1, 2, 3}));
  ASSERT_TRUE(received.WaitFor(3));
  pty.CloseMaster();
  EXPECT_TRUE(WaitUntil([&] { return port.LineErrorWord() == -1; }));
  EXPECT_TRUE(WaitUntil([&] { return port.RunningThreads() == 0; }));
  EXPECT_EQ(port.TakeLineError(), 10);
  SetExceptionDisplay({});
  EXPECT_EQ(shown.load(), 0);
}

}  // namespace
