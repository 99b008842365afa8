#include "serial/DispatcherLineState.h"

#include "serial/CommCodes.h"

uint16_t DispatcherLineState::TakeError() {
  if (ErrorWord == kFatalError) {
    ErrorWord = 0;
    return 10;
  }
  static constexpr struct {
    int32_t bit;
    uint16_t code;
  } kCodes[] = {{kLineErrorRxOverflow, 1},
                {kLineErrorOverrun, 2},
                {kLineErrorParity, 3},
                {kLineErrorFraming, 4},
                {kLineErrorBreak, 9}};
  for (const auto& entry : kCodes) {
    if (ErrorWord & entry.bit) {
      // The break bit stays for TakeBreak.
      ErrorWord &= ~0x0F;
      return entry.code;
    }
  }
  return 0;
}

bool DispatcherLineState::TakeBreak() {
  const bool seen = (ErrorWord & kLineErrorBreak) != 0;
  ErrorWord &= ~static_cast<int32_t>(kLineErrorBreak);
  return seen;
}

uint8_t DispatcherLineState::TakeModemLines(uint8_t lines, uint8_t mask) {
  uint8_t value = static_cast<uint8_t>((ModemStatus & 0x0F) | (lines & 0xF0));
  if (RingLatch) {
    RingLatch = false;
    value |= kModemRingTrailingEdge;
  }
  ModemStatus = value & mask;
  return value;
}

void DispatcherLineState::PutManualLines(Dcb& dcb) const {
  if (!DtrAuto) {
    dcb.Flags =
        (dcb.Flags & ~kDcbDtrControlMask) | (DtrState ? kDtrControlEnable : kDtrControlDisable);
  }
  if (!RtsAuto) {
    dcb.Flags =
        (dcb.Flags & ~kDcbRtsControlMask) | (RtsState ? kRtsControlEnable : kRtsControlDisable);
  }
}

uint32_t DispatcherLineState::DrainPause() const {
  return DrainPauseMs(Settings.ByteSize, Settings.Parity, Settings.StopBits, LastBaud);
}

uint32_t DrainPauseMs(uint8_t byteSize, uint8_t parity, uint8_t stopBits, uint32_t baud) {
  const uint32_t rate = baud == 0 ? 115200 : baud;
  uint32_t bits = byteSize + 2u;
  if (parity != kNoParity) ++bits;
  if (stopBits != kOneStopBit) ++bits;
  // In units of 100 ns; short pauses are doubled to outlast the clock's grain.
  uint64_t pause = static_cast<uint64_t>(10000000u / rate) * bits * 18u;
  if (pause < 10000) pause *= 2;
  return static_cast<uint32_t>(pause / 10000 + (pause % 10000 != 0 ? 1 : 0));
}
