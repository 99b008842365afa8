#pragma once
// What the dispatcher knows of its line: the line error word, the modem
// status, the comm status, the settings last written, and the DTR, RTS and
// RS-485 states. Not locked itself: the dispatcher guards it with its
// DispatchLock.

#include <cstdint>

#include "serial/ComStat.h"
#include "serial/Dcb.h"

struct DispatcherLineState {
  // The line error word after a failed device read or write: every error.
  static constexpr int32_t kFatalError = -1;

  // The pending line error as a code, taken: 10 fatal device error, 1
  // overflow, 2 overrun, 3 parity, 4 framing, 9 break alone, 0 none.
  uint16_t TakeError();
  // Whether a break was seen since the last call; taken.
  bool TakeBreak();
  // Puts the modem input lines into the modem status (a ring seen since adds
  // the trailing-edge bit), keeps (status AND mask) and returns the unmasked
  // value.
  uint8_t TakeModemLines(uint8_t lines, uint8_t mask);
  // Puts the wanted DTR and RTS states into dcb, each unless automatic.
  void PutManualLines(Dcb& dcb) const;
  // The pause before the line changes once its output is sent (DrainPauseMs
  // for the settings at the last baud rate).
  uint32_t DrainPause() const;

  // The kLineError... bits seen, or kFatalError.
  int32_t ErrorWord = 0;
  uint8_t ModemStatus = 0;
  // A ring was seen since the modem status was last read.
  bool RingLatch = false;
  ComStat CommStatus;
  Dcb Settings;
  uint32_t LastBaud = 115200;
  uint32_t OptionBits = 0;
  // The wanted DTR and RTS states, and whether a handshake drives the line.
  bool DtrState = false;
  bool DtrAuto = false;
  bool RtsState = false;
  bool RtsAuto = false;
  bool Rs485Mode = false;
};

// The pause before a line is reconfigured once its output has drained: 18
// character times at the old rate, so the last bytes leave the UART.
// Milliseconds for the framing (byte size, parity code, stop-bit code) at
// baud bits per second; a baud of 0 counts as 115200.
uint32_t DrainPauseMs(uint8_t byteSize, uint8_t parity, uint8_t stopBits, uint32_t baud);
