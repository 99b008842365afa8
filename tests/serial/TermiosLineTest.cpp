// The DCB and the kernel's terminal settings, both ways.

#include <gtest/gtest.h>

#include "serial/TermiosLine.h"

namespace {

// A line as a terminal starts: cooked, echoing, translating.
termios2 cookedLine() {
  termios2 line{};
  line.c_iflag = ICRNL | IXON | BRKINT | IMAXBEL;
  line.c_oflag = OPOST | ONLCR;
  line.c_cflag = B38400 | CS8 | CREAD | HUPCL;
  line.c_lflag = ISIG | ICANON | ECHO | ECHOE | ECHOK | IEXTEN;
  line.c_cc[VMIN] = 1;
  line.c_cc[VSTART] = 17;
  line.c_cc[VSTOP] = 19;
  return line;
}

Dcb line(uint32_t baud, uint8_t byteSize, uint8_t parity, uint8_t stopBits, uint32_t flags = 0) {
  Dcb dcb;
  dcb.BaudRate = baud;
  dcb.ByteSize = byteSize;
  dcb.Parity = parity;
  dcb.StopBits = stopBits;
  dcb.Flags = kDcbBinary | kDcbTxContinueOnXoff | kDtrControlEnable | flags;
  if ((flags & kDcbRtsControlMask) == 0) dcb.Flags |= kRtsControlEnable;
  return dcb;
}

TEST(TermiosLine, EveryFramingAndFlowComesBackAsItWent) {
  const uint32_t flows[] = {
      0,
      kDcbOutxCtsFlow,
      kRtsControlHandshake,
      kDcbOutxCtsFlow | kRtsControlHandshake,
      kDcbOutX,
      kDcbInX,
      kDcbOutX | kDcbInX,
      kDcbOutxCtsFlow | kRtsControlHandshake | kDcbOutX | kDcbInX,
  };
  const uint32_t rates[] = {50, 1200, 9600, 31250, 115200, 250000, 4000000};
  int cases = 0;
  for (uint8_t parity = kNoParity; parity <= kSpaceParity; ++parity) {
    for (uint8_t byteSize = 5; byteSize <= 8; ++byteSize) {
      const uint8_t longStop = byteSize == 5 ? kOne5StopBits : kTwoStopBits;
      for (const uint8_t stopBits : {kOneStopBit, longStop}) {
        for (const uint32_t flow : flows) {
          for (const uint32_t checking : {0u, kDcbParity}) {
            Dcb dcb =
                line(rates[cases % std::size(rates)], byteSize, parity, stopBits, flow | checking);
            dcb.XonChar = static_cast<uint8_t>(17 + cases % 3);
            dcb.XoffChar = static_cast<uint8_t>(19 + cases % 5);
            termios2 terminal = cookedLine();
            ASSERT_TRUE(DcbToTermios(dcb, terminal));
            // What the terminal holds must come from the terminal.
            Dcb kept = dcb;
            kept.BaudRate = 1;
            kept.ByteSize = 0;
            kept.Parity = 7;
            kept.StopBits = 9;
            kept.Flags ^= kDcbParity | kDcbOutX | kDcbInX | kDcbBinary;
            kept.XonChar = 0;
            kept.XoffChar = 0;
            EXPECT_EQ(TermiosToDcb(terminal, kept), dcb)
                << "case " << cases << " parity " << int(parity) << " bits " << int(byteSize)
                << " stop " << int(stopBits) << " flow " << flow;
            ++cases;
          }
        }
      }
    }
  }
  EXPECT_EQ(cases, 5 * 4 * 2 * 8 * 2);
}

TEST(TermiosLine, FramingBitsAreTheKernels) {
  struct Row {
    uint8_t byteSize, parity, stopBits;
    tcflag_t bits;
  } const rows[] = {
      {8, kNoParity, kOneStopBit, CS8},
      {7, kEvenParity, kOneStopBit, CS7 | PARENB},
      {7, kOddParity, kTwoStopBits, CS7 | PARENB | PARODD | CSTOPB},
      {6, kMarkParity, kOneStopBit, CS6 | PARENB | PARODD | CMSPAR},
      {8, kSpaceParity, kOneStopBit, CS8 | PARENB | CMSPAR},
      // One and a half stop bits: the UART's longer stop with 5 data bits.
      {5, kNoParity, kOne5StopBits, CS5 | CSTOPB},
  };
  constexpr tcflag_t kFraming = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
  for (const Row& row : rows) {
    termios2 terminal = cookedLine();
    ASSERT_TRUE(DcbToTermios(line(9600, row.byteSize, row.parity, row.stopBits), terminal));
    EXPECT_EQ(terminal.c_cflag & kFraming, row.bits) << int(row.byteSize) << int(row.parity);
  }
}

TEST(TermiosLine, NamedRatesUseTheirCodeAndOthersGoAsNumbers) {
  struct Row {
    uint32_t rate;
    tcflag_t code;
  } const rows[] = {
      {9600, B9600}, {115200, B115200}, {300, B300}, {250000, BOTHER}, {31250, BOTHER}};
  for (const Row& row : rows) {
    termios2 terminal = cookedLine();
    ASSERT_TRUE(DcbToTermios(line(row.rate, 8, kNoParity, kOneStopBit), terminal));
    EXPECT_EQ(terminal.c_cflag & CBAUD, row.code) << row.rate;
    EXPECT_EQ(terminal.c_cflag & CIBAUD, 0u) << row.rate;
    EXPECT_EQ(terminal.c_ospeed, row.rate);
  }
}

TEST(TermiosLine, AWrittenLineIsRawAndKeepsWhatTheDcbHasNoSayIn) {
  termios2 terminal = cookedLine();
  ASSERT_TRUE(DcbToTermios(line(9600, 8, kNoParity, kOneStopBit), terminal));
  EXPECT_EQ(terminal.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  EXPECT_EQ(terminal.c_oflag & OPOST, 0u);
  EXPECT_EQ(terminal.c_iflag & (ICRNL | IXON | BRKINT | IMAXBEL), 0u);
  EXPECT_EQ(terminal.c_cflag & (CREAD | CLOCAL | HUPCL), CREAD | CLOCAL | HUPCL);
  EXPECT_EQ(terminal.c_cc[VMIN], 1);
  EXPECT_EQ(terminal.c_cc[VTIME], 0);
}

TEST(TermiosLine, OnlyARawLineReadsAsBinary) {
  const Dcb kept = line(9600, 8, kNoParity, kOneStopBit);
  EXPECT_EQ(TermiosToDcb(cookedLine(), kept).Flags & kDcbBinary, 0u);
  termios2 terminal = cookedLine();
  ASSERT_TRUE(DcbToTermios(kept, terminal));
  EXPECT_EQ(TermiosToDcb(terminal, kept).Flags & kDcbBinary, kDcbBinary);
  terminal.c_cc[VMIN] = 0;
  EXPECT_EQ(TermiosToDcb(terminal, kept).Flags & kDcbBinary, 0u);
}

TEST(TermiosLine, SettingsNoTerminalCanTakeAreRefusedUntouched) {
  const Dcb refused[] = {
      line(0, 8, kNoParity, kOneStopBit),    line(9600, 4, kNoParity, kOneStopBit),
      line(9600, 9, kNoParity, kOneStopBit), line(9600, 8, 5, kOneStopBit),
      line(9600, 8, kNoParity, 3),
  };
  for (const Dcb& dcb : refused) {
    termios2 terminal = cookedLine();
    EXPECT_FALSE(DcbToTermios(dcb, terminal));
    EXPECT_EQ(terminal.c_cflag, cookedLine().c_cflag);
    EXPECT_EQ(terminal.c_lflag, cookedLine().c_lflag);
  }
}

TEST(TermiosLine, WhatLinuxCannotCarryOutIsRefusedUntouched) {
  Dcb limits = line(9600, 8, kNoParity, kOneStopBit, kDcbInX);
  limits.XoffLim = 1024;
  limits.XonLim = 1024;
  Dcb dtrHandshake = line(9600, 8, kNoParity, kOneStopBit);
  dtrHandshake.Flags = (dtrHandshake.Flags & ~kDcbDtrControlMask) | kDtrControlHandshake;
  const Dcb refused[] = {
      dtrHandshake, line(9600, 8, kNoParity, kOneStopBit, kDcbOutxDsrFlow),  // DSR flow
      line(9600, 8, kNoParity, kOneStopBit, kDcbDsrSensitivity),             // DSR sensitivity
      limits,                                                                // XON/XOFF limits
  };
  for (const Dcb& dcb : refused) {
    termios2 terminal = cookedLine();
    EXPECT_FALSE(DcbToTermios(dcb, terminal)) << dcb.Flags;
    EXPECT_EQ(terminal.c_iflag, cookedLine().c_iflag);
    EXPECT_EQ(terminal.c_cflag, cookedLine().c_cflag);
  }
  // Limits matter only where they are in force, and 0 leaves them to the
  // kernel.
  Dcb sendSideOnly = limits;
  sendSideOnly.Flags = (sendSideOnly.Flags & ~kDcbInX) | kDcbOutX;
  termios2 terminal = cookedLine();
  EXPECT_TRUE(DcbToTermios(sendSideOnly, terminal));
  Dcb kernelLimits = limits;
  kernelLimits.XoffLim = 0;
  kernelLimits.XonLim = 0;
  ASSERT_TRUE(DcbToTermios(kernelLimits, terminal));
  EXPECT_NE(terminal.c_iflag & IXOFF, 0u);
}

TEST(TermiosLine, CtsRtsFlowSetOrClearedElsewhereReadsAsTheTerminalHasIt) {
  termios2 terminal = cookedLine();
  const Dcb plain = line(9600, 8, kNoParity, kOneStopBit);
  ASSERT_TRUE(DcbToTermios(plain, terminal));
  terminal.c_cflag |= CRTSCTS;
  const Dcb flowing = TermiosToDcb(terminal, plain);
  EXPECT_EQ(flowing.Flags & kDcbOutxCtsFlow, kDcbOutxCtsFlow);
  EXPECT_EQ(flowing.Flags & kDcbRtsControlMask, kRtsControlHandshake);

  terminal.c_cflag &= ~CRTSCTS;
  const Dcb stopped = TermiosToDcb(terminal, flowing);
  EXPECT_EQ(stopped.Flags & kDcbOutxCtsFlow, 0u);
  EXPECT_EQ(stopped.Flags & kDcbRtsControlMask, kRtsControlEnable);
}

TEST(TermiosLine, ADeviceTookTheLineWhenFramingMatchesAndTheRateIsNear) {
  const Dcb wanted = line(250000, 8, kEvenParity, kOneStopBit);
  Dcb taken = wanted;
  EXPECT_TRUE(LineTaken(wanted, taken));
  taken.BaudRate = 250000 - 250000 * 2 / 100;
  EXPECT_TRUE(LineTaken(wanted, taken));
  taken.BaudRate = 250000 - 250000 * 3 / 100;
  EXPECT_FALSE(LineTaken(wanted, taken));
  for (const auto change : {+[](Dcb& d) { d.ByteSize = 7; }, +[](Dcb& d) { d.Parity = kNoParity; },
                            +[](Dcb& d) { d.StopBits = kTwoStopBits; }}) {
    taken = wanted;
    change(taken);
    EXPECT_FALSE(LineTaken(wanted, taken));
  }
}

}  // namespace
