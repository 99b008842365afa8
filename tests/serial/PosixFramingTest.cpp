// What the POSIX port writes to the terminal. A pseudo-terminal keeps only
// 8 bits without parity, so the settings are seen as written.

#include <gtest/gtest.h>

#include <optional>

#include "serial/SioPosixDispatcher.h"
#include "serial/TermiosLine.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/serial/support/PseudoTerminal.h"

namespace {

class WrittenLine : public TSioPosixDispatcher {
 public:
  WrittenLine() : TSioPosixDispatcher(nullptr) {}
  std::optional<termios2> Last() {
    const std::lock_guard<std::mutex> guard(lock_);
    return last_;
  }
  int Writes() {
    const std::lock_guard<std::mutex> guard(lock_);
    return writes_;
  }

 protected:
  int WriteTerminal(int device, const termios2& line) override {
    {
      const std::lock_guard<std::mutex> guard(lock_);
      last_ = line;
      ++writes_;
    }
    return TSioPosixDispatcher::WriteTerminal(device, line);
  }

 private:
  std::mutex lock_;
  std::optional<termios2> last_;
  int writes_ = 0;
};

TEST(PosixFraming, TheDevicesOwnValuesWriteNoTerminalSettings) {
  PseudoTerminal pty;
  auto gui = std::make_shared<TestGuiLoop>();
  WrittenLine port;
  ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0);
  const int writes = port.Writes();
  EXPECT_GE(writes, 1);
  EXPECT_EQ(port.ConfigureLine(9600, kNoParity, 8, 1), 0);
  EXPECT_EQ(port.ConfigureLine(0, 5, 9, 3), 0);
  EXPECT_EQ(port.Writes(), writes);
}

TEST(PosixFraming, EachFramingIsWrittenWithTheKernelsBits) {
  struct Row {
    uint8_t parity;
    uint16_t dataBits, stopBits;
    tcflag_t bits;
  } const rows[] = {
      {kEvenParity, 7, 1, CS7 | PARENB},
      {kOddParity, 8, 2, CS8 | PARENB | PARODD | CSTOPB},
      {kMarkParity, 6, 1, CS6 | PARENB | PARODD | CMSPAR},
      {kSpaceParity, 8, 1, CS8 | PARENB | CMSPAR},
      {kNoParity, 8, 0, CS8},
      {kNoParity, 7, 4, CS7 | CSTOPB},
      // 5 data bits always go with the longer stop, one and a half.
      {kNoParity, 5, 1, CS5 | CSTOPB},
      {kNoParity, 5, 2, CS5 | CSTOPB},
  };
  constexpr tcflag_t kFraming = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
  PseudoTerminal pty;
  auto gui = std::make_shared<TestGuiLoop>();
  WrittenLine port;
  ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0);
  port.SetSleeper([](std::chrono::milliseconds) {});
  for (const Row& row : rows) {
    // Another rate first, so every row is a change.
    port.ConfigureLine(19200, kNoParity, 8, 1);
    port.ConfigureLine(9600, row.parity, row.dataBits, row.stopBits);
    const std::optional<termios2> line = port.Last();
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->c_cflag & kFraming, row.bits)
        << int(row.parity) << " " << row.dataBits << " " << row.stopBits;
    EXPECT_EQ(line->c_cflag & CBAUD, static_cast<tcflag_t>(B9600));
  }
}

}  // namespace
