// Line settings and line status of the POSIX port, seen on the terminal.

#include <gtest/gtest.h>
#include <termios.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "serial/CommCodes.h"
#include "serial/DispatcherLineState.h"
#include "serial/SioPosixDispatcher.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/serial/support/PseudoTerminal.h"

namespace {

using std::chrono::milliseconds;

class PosixLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0);
    port.SetSleeper([this](milliseconds pause) { sleeps.push_back(pause); });
  }

  termios Terminal() {
    termios line{};
    EXPECT_EQ(tcgetattr(port.Device(), &line), 0);
    return line;
  }

  PseudoTerminal pty;
  std::shared_ptr<TestGuiLoop> gui = std::make_shared<TestGuiLoop>();
  TSioPosixDispatcher port{nullptr};
  std::vector<milliseconds> sleeps;
};

bool sameTerminal(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

TEST_F(PosixLine, TheOpeningLineReachesTheTerminalRaw) {
  const termios line = Terminal();
  EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B9600));
  EXPECT_EQ(cfgetispeed(&line), static_cast<speed_t>(B9600));
  EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(line.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  EXPECT_EQ(line.c_oflag & OPOST, 0u);
  EXPECT_EQ(line.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON | IXOFF | INPCK), 0u);
}

TEST_F(PosixLine, TheDevicesOwnValuesTouchNothingAndDoNotWait) {
  const termios before = Terminal();
  EXPECT_EQ(port.ConfigureLine(9600, kNoParity, 8, 1), 0);
  EXPECT_EQ(port.ConfigureLine(0, 5, 9, 3), 0);
  EXPECT_TRUE(sleeps.empty());
  EXPECT_TRUE(sameTerminal(before, Terminal()));
}

// A pseudo-terminal carries 8 bits without parity whatever it is told;
// rates and stop bits it keeps.
TEST_F(PosixLine, RatesAndStopBitsReachTheTerminalAndReadBackAsTheirCodes) {
  struct Row {
    int32_t baud;
    uint16_t stopBits;
    speed_t speed;
    tcflag_t stopFlag;
    uint8_t stopCode;
  } const rows[] = {
      {19200, 1, B19200, 0, kOneStopBit},
      {115200, 2, B115200, CSTOPB, kTwoStopBits},
      // Stop bits 0 count as one, above 2 as two.
      {4800, 0, B4800, 0, kOneStopBit},
      {9600, 4, B9600, CSTOPB, kTwoStopBits},
  };
  for (const Row& row : rows) {
    ASSERT_EQ(port.ConfigureLine(row.baud, kNoParity, 8, row.stopBits), 0);
    const termios line = Terminal();
    EXPECT_EQ(cfgetospeed(&line), row.speed) << row.baud;
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB), CS8 | row.stopFlag) << row.baud;
    Dcb dcb;
    ASSERT_EQ(port.FetchLineSettings(dcb), 0);
    EXPECT_EQ(dcb.BaudRate, static_cast<uint32_t>(row.baud));
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.StopBits, row.stopCode);
  }
}

TEST_F(PosixLine, ARateWithoutACodeOfItsOwnIsSetAsANumber) {
  ASSERT_EQ(port.ConfigureLine(250000, kNoParity, 8, 1), 0);
  Dcb dcb;
  ASSERT_EQ(port.FetchLineSettings(dcb), 0);
  EXPECT_EQ(dcb.BaudRate, 250000u);
  sleeps.clear();
  EXPECT_EQ(port.ConfigureLine(250000, kNoParity, 8, 1), 0);
  EXPECT_TRUE(sleeps.empty());
}

TEST_F(PosixLine, AChangePausesEighteenCharacterTimesAtTheOldRate) {
  ASSERT_EQ(port.ConfigureLine(115200, kNoParity, 8, 1), 0);
  ASSERT_EQ(port.ConfigureLine(9600, kNoParity, 8, 1), 0);
  EXPECT_EQ(sleeps, (std::vector<milliseconds>{
                        milliseconds(DrainPauseMs(8, kNoParity, kOneStopBit, 9600)),
                        milliseconds(DrainPauseMs(8, kNoParity, kOneStopBit, 115200))}));
}

TEST_F(PosixLine, ASettingNoTerminalCanTakeIsRefusedWithTheSystemsError) {
  const termios before = Terminal();
  constexpr uint8_t kNoSuchParity = 7;
  EXPECT_EQ(port.ConfigureLine(9600, kNoSuchParity, 8, 1), -EINVAL);
  EXPECT_TRUE(sameTerminal(before, Terminal()));
}

// A terminal that notes, at each settings write, how many bytes the far end
// had received by then.
class DrainWatch : public TSioPosixDispatcher {
 public:
  explicit DrainWatch(PseudoTerminal& pty) : TSioPosixDispatcher(nullptr), pty_(pty) {}
  std::vector<size_t> ArrivedAtWrites() {
    const std::lock_guard<std::mutex> lock(lock_);
    return arrivedAtWrites_;
  }

 protected:
  int WriteTerminal(int device, const termios2& line) override {
    {
      const std::lock_guard<std::mutex> lock(lock_);
      arrived_ += pty_.ReadAvailable().size();
      arrivedAtWrites_.push_back(arrived_);
    }
    return TSioPosixDispatcher::WriteTerminal(device, line);
  }

 private:
  PseudoTerminal& pty_;
  std::mutex lock_;
  size_t arrived_ = 0;
  std::vector<size_t> arrivedAtWrites_;
};

TEST(PosixLineDrain, ARateChangeWaitsForTheBytesAlreadyOnTheirWayToTheLine) {
  PseudoTerminal pty;
  auto gui = std::make_shared<TestGuiLoop>();
  DrainWatch port(pty);
  ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0);
  // The far end takes nothing: the write thread takes the bytes out of the
  // ring and holds them, so the ring alone looks drained.
  ASSERT_EQ(tcflow(port.Device(), TCOOFF), 0);
  const std::vector<uint8_t> bytes(300, 'x');
  ASSERT_EQ(port.WriteBlock(bytes.data(), static_cast<uint32_t>(bytes.size())), 0);
  ASSERT_TRUE(WaitUntil([&] { return port.PendingOutputCount() == 0; }));
  EXPECT_EQ(port.OutputUsed(), bytes.size());
  int pauses = 0;
  port.SetSleeper([&](milliseconds) {
    // The far end starts taking bytes while the change waits.
    if (++pauses == 1) tcflow(port.Device(), TCOON);
    std::this_thread::sleep_for(milliseconds(1));
  });
  const size_t writesBefore = port.ArrivedAtWrites().size();
  ASSERT_EQ(port.ConfigureLine(19200, kNoParity, 8, 1), 0);
  const std::vector<size_t> arrived = port.ArrivedAtWrites();
  ASSERT_EQ(arrived.size(), writesBefore + 1);
  EXPECT_EQ(arrived.back(), bytes.size()) << "all of them went out at the old rate";
  EXPECT_GT(pauses, 1);
}

TEST(PosixLineFlags, DtrUnderHandshakeIsLeftAlone) {
  PseudoTerminal pty;
  TSioPosixDispatcher port(nullptr);
  constexpr uint32_t kDtrHandshakeRtsRaised = 0x10 | 0x02;
  ASSERT_EQ(
      port.InitDevice(pty.SlavePath(), 9600, kNoParity, 8, 1, 4096, 4096, kDtrHandshakeRtsRaised),
      0);
  const bool dtr = port.DtrState();
  EXPECT_EQ(port.SetDtrLine(!dtr), 1);
  EXPECT_EQ(port.DtrState(), dtr);
  // A pseudo-terminal has no modem lines; setting one is still no error.
  EXPECT_EQ(port.SetRtsLine(false), 0);
  EXPECT_FALSE(port.RtsState());
}

TEST(PosixLineStatus, ParityAndBreakCountsGiveCodeThreeAndLeaveTheBreakForItsReader) {
  std::atomic<uint32_t> parity{3};
  std::atomic<uint32_t> breaks{1};
  PseudoTerminal pty;
  auto gui = std::make_shared<TestGuiLoop>();
  TSioPosixDispatcher port(nullptr);
  port.SetLineCountSource([&](int, LineCounts& counts) {
    counts = LineCounts{};
    counts.Parity = parity.load();
    counts.Break = breaks.load();
    return 0;
  });
  ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0);
  EXPECT_EQ(port.LineErrorWord(), 0);
  ++parity;
  ++breaks;
  constexpr int32_t kParityAndBreak = kLineErrorParity | kLineErrorBreak;
  ASSERT_TRUE(
      WaitUntil([&] { return (port.LineErrorWord() & kParityAndBreak) == kParityAndBreak; }));
  EXPECT_EQ(port.TakeLineError(), 3);
  EXPECT_EQ(port.LineErrorWord() & kLineErrorBreak, static_cast<int32_t>(kLineErrorBreak));
  EXPECT_TRUE(port.TakeLineBreak());
  EXPECT_FALSE(port.TakeLineBreak());
}

}  // namespace
