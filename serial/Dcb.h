#pragma once
// The device control block: a serial line's settings as plain data in the
// Win32 record layout. The platform layer translates it to and from its own
// terminal settings.

#include <cstdint>

struct Dcb {
  uint32_t DCBlength = 28;
  uint32_t BaudRate = 0;
  uint32_t Flags = 0;  // the kDcb... bits below
  uint16_t wReserved = 0;
  uint16_t XonLim = 0;   // bytes in the input queue before XON is sent
  uint16_t XoffLim = 0;  // free bytes left in the input queue when XOFF is sent
  uint8_t ByteSize = 8;
  uint8_t Parity = 0;    // kNoParity ... kSpaceParity
  uint8_t StopBits = 0;  // kOneStopBit, kOne5StopBits, kTwoStopBits
  uint8_t XonChar = 17;
  uint8_t XoffChar = 19;
  uint8_t ErrorChar = 0;
  uint8_t EofChar = 0;
  uint8_t EvtChar = 0;
  uint16_t wReserved1 = 0;

  bool operator==(const Dcb&) const = default;
};
static_assert(sizeof(Dcb) == 28, "Dcb must keep the Win32 layout");

// Flags bits.
constexpr uint32_t kDcbBinary = 0x1;
constexpr uint32_t kDcbParity = 0x2;
constexpr uint32_t kDcbOutxCtsFlow = 0x4;
constexpr uint32_t kDcbOutxDsrFlow = 0x8;
constexpr uint32_t kDcbDtrControlMask = 0x30;
constexpr uint32_t kDtrControlDisable = 0x00;
constexpr uint32_t kDtrControlEnable = 0x10;
constexpr uint32_t kDtrControlHandshake = 0x20;
constexpr uint32_t kDcbDsrSensitivity = 0x40;
constexpr uint32_t kDcbTxContinueOnXoff = 0x80;
constexpr uint32_t kDcbOutX = 0x100;
constexpr uint32_t kDcbInX = 0x200;
constexpr uint32_t kDcbNull = 0x800;
constexpr uint32_t kDcbRtsControlMask = 0x3000;
constexpr uint32_t kRtsControlDisable = 0x0000;
constexpr uint32_t kRtsControlEnable = 0x1000;
constexpr uint32_t kRtsControlHandshake = 0x2000;
constexpr uint32_t kRtsControlToggle = 0x3000;

// Parity codes.
constexpr uint8_t kNoParity = 0;
constexpr uint8_t kOddParity = 1;
constexpr uint8_t kEvenParity = 2;
constexpr uint8_t kMarkParity = 3;
constexpr uint8_t kSpaceParity = 4;

// Stop-bit codes.
constexpr uint8_t kOneStopBit = 0;
constexpr uint8_t kOne5StopBits = 1;
constexpr uint8_t kTwoStopBits = 2;
