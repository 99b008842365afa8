#include "serial/TermiosLine.h"

#include <sys/ioctl.h>

#include <cerrno>
#include <cstdlib>
#include <iterator>

namespace {

struct RateCode {
  uint32_t rate;
  tcflag_t code;
};

// The rates the terminal layer names with a code of its own; any other rate
// goes as a number (BOTHER).
constexpr RateCode kRateCodes[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

constexpr tcflag_t kSizeCodes[] = {CS5, CS6, CS7, CS8};
constexpr uint8_t kSmallestByteSize = 5;
constexpr uint8_t kLargestByteSize = 8;

// Input processing a raw line has none of; parity checking and XON/XOFF
// flow are settings of their own.
constexpr tcflag_t kFlowInput = INPCK | IXON | IXOFF;
constexpr tcflag_t kRawInputCleared = IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR |
                                      IGNCR | ICRNL | IUCLC | IXON | IXANY | IXOFF | IMAXBEL |
                                      IUTF8;
constexpr tcflag_t kRawLocalCleared =
    ISIG | ICANON | XCASE | ECHO | ECHOE | ECHOK | ECHONL | ECHOCTL | ECHOPRT | ECHOKE | IEXTEN;
constexpr tcflag_t kFramingCleared =
    CBAUD | CIBAUD | CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS;

// Rates a UART's divisor hits within 2 % count as taken.
constexpr uint32_t kRatePercentSlack = 2;

bool isRaw(const termios2& line) {
  return !(line.c_iflag & (kRawInputCleared & ~kFlowInput)) && !(line.c_oflag & OPOST) &&
         !(line.c_lflag & kRawLocalCleared) &&
         (line.c_cflag & (CREAD | CLOCAL)) == (CREAD | CLOCAL) && line.c_cc[VMIN] == 1 &&
         line.c_cc[VTIME] == 0;
}

tcflag_t rateCode(uint32_t rate) {
  for (const RateCode& entry : kRateCodes) {
    if (entry.rate == rate) return entry.code;
  }
  return BOTHER;
}

uint32_t rateOf(const termios2& line) {
  const tcflag_t code = line.c_cflag & CBAUD;
  if (code == BOTHER) return line.c_ospeed;
  for (const RateCode& entry : kRateCodes) {
    if (entry.code == code) return entry.rate;
  }
  return 0;
}

tcflag_t parityBits(uint8_t parity) {
  switch (parity) {
    case kOddParity:
      return PARENB | PARODD;
    case kEvenParity:
      return PARENB;
    case kMarkParity:
      return PARENB | CMSPAR | PARODD;
    case kSpaceParity:
      return PARENB | CMSPAR;
    default:
      return 0;
  }
}

uint8_t parityOf(tcflag_t control) {
  if (!(control & PARENB)) return kNoParity;
  if (control & CMSPAR) return (control & PARODD) ? kMarkParity : kSpaceParity;
  return (control & PARODD) ? kOddParity : kEvenParity;
}

uint8_t byteSizeOf(tcflag_t control) {
  for (uint8_t index = 0; index < std::size(kSizeCodes); ++index) {
    if ((control & CSIZE) == kSizeCodes[index]) return kSmallestByteSize + index;
  }
  return kLargestByteSize;
}

// DTR/DSR flow and DSR sensitivity have no terminal bit; the kernel's input
// flow control throttles at its own fill levels, not at the DCB's limits.
bool beyondLinux(const Dcb& dcb) {
  const bool dtrHandshake = (dcb.Flags & kDcbDtrControlMask) == kDtrControlHandshake;
  const bool inputLimits = (dcb.Flags & kDcbInX) && (dcb.XonLim != 0 || dcb.XoffLim != 0);
  return dtrHandshake || (dcb.Flags & (kDcbOutxDsrFlow | kDcbDsrSensitivity)) || inputLimits;
}

bool ctsRtsFlow(const Dcb& dcb) {
  return (dcb.Flags & kDcbOutxCtsFlow) || (dcb.Flags & kDcbRtsControlMask) == kRtsControlHandshake;
}

uint32_t setIf(uint32_t flags, uint32_t bit, bool on) { return on ? flags | bit : flags & ~bit; }

uint32_t flowFlags(const termios2& line, const Dcb& kept) {
  uint32_t flags = kept.Flags;
  const bool rtsHandshake = (flags & kDcbRtsControlMask) == kRtsControlHandshake;
  if (line.c_cflag & CRTSCTS) {
    if (!ctsRtsFlow(kept)) {
      flags = (flags & ~kDcbRtsControlMask) | kDcbOutxCtsFlow | kRtsControlHandshake;
    }
  } else {
    flags &= ~kDcbOutxCtsFlow;
    if (rtsHandshake) flags = (flags & ~kDcbRtsControlMask) | kRtsControlEnable;
  }
  return flags;
}

}  // namespace

bool DcbToTermios(const Dcb& dcb, termios2& line) {
  if (dcb.BaudRate == 0 || dcb.ByteSize < kSmallestByteSize || dcb.ByteSize > kLargestByteSize ||
      dcb.Parity > kSpaceParity || dcb.StopBits > kTwoStopBits || beyondLinux(dcb)) {
    return false;
  }
  line.c_iflag &= ~kRawInputCleared;
  if (dcb.Flags & kDcbParity) line.c_iflag |= INPCK;
  if (dcb.Flags & kDcbOutX) line.c_iflag |= IXON;
  if (dcb.Flags & kDcbInX) line.c_iflag |= IXOFF;
  line.c_oflag &= ~OPOST;
  line.c_lflag &= ~kRawLocalCleared;

  line.c_cflag &= ~kFramingCleared;
  line.c_cflag |= CREAD | CLOCAL | rateCode(dcb.BaudRate) |
                  kSizeCodes[dcb.ByteSize - kSmallestByteSize] | parityBits(dcb.Parity);
  if (dcb.StopBits != kOneStopBit) line.c_cflag |= CSTOPB;
  if (ctsRtsFlow(dcb)) line.c_cflag |= CRTSCTS;
  line.c_ispeed = dcb.BaudRate;
  line.c_ospeed = dcb.BaudRate;

  // One byte satisfies a read; on the non-blocking descriptor a read then
  // returns what is there or EAGAIN, and 0 only when the line hung up.
  line.c_cc[VMIN] = 1;
  line.c_cc[VTIME] = 0;
  line.c_cc[VSTART] = dcb.XonChar;
  line.c_cc[VSTOP] = dcb.XoffChar;
  return true;
}

Dcb TermiosToDcb(const termios2& line, const Dcb& kept) {
  Dcb dcb = kept;
  dcb.BaudRate = rateOf(line);
  dcb.ByteSize = byteSizeOf(line.c_cflag);
  dcb.Parity = parityOf(line.c_cflag);
  if (!(line.c_cflag & CSTOPB)) {
    dcb.StopBits = kOneStopBit;
  } else {
    dcb.StopBits = dcb.ByteSize == kSmallestByteSize ? kOne5StopBits : kTwoStopBits;
  }
  uint32_t flags = setIf(flowFlags(line, kept), kDcbBinary, isRaw(line));
  flags = setIf(flags, kDcbParity, line.c_iflag & INPCK);
  flags = setIf(flags, kDcbOutX, line.c_iflag & IXON);
  flags = setIf(flags, kDcbInX, line.c_iflag & IXOFF);
  dcb.Flags = flags;
  dcb.XonChar = line.c_cc[VSTART];
  dcb.XoffChar = line.c_cc[VSTOP];
  return dcb;
}

bool LineTaken(const Dcb& wanted, const Dcb& taken) {
  if (wanted.ByteSize != taken.ByteSize || wanted.Parity != taken.Parity ||
      wanted.StopBits != taken.StopBits) {
    return false;
  }
  const uint64_t miss = static_cast<uint64_t>(
      std::llabs(static_cast<int64_t>(wanted.BaudRate) - static_cast<int64_t>(taken.BaudRate)));
  return miss * 100 <= static_cast<uint64_t>(wanted.BaudRate) * kRatePercentSlack;
}

int ReadTermios(int device, termios2& line) {
  return ioctl(device, TCGETS2, &line) == 0 ? 0 : errno;
}

int WriteTermios(int device, const termios2& line) {
  return ioctl(device, TCSETS2, &line) == 0 ? 0 : errno;
}

int FlushDeviceQueue(int device, bool output) {
  return ioctl(device, TCFLSH, output ? TCOFLUSH : TCIFLUSH) == 0 ? 0 : errno;
}
