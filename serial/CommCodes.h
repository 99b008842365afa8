#pragma once
// The codes the dispatcher and its platform layer exchange about the line:
// line events, line errors, modem lines and line escapes (Win32 values).

#include <cstdint>

// Line events, as reported by the status thread in a status item's mask.
constexpr uint32_t kEvRxChar = 0x0001;
constexpr uint32_t kEvCts = 0x0008;
constexpr uint32_t kEvDsr = 0x0010;
constexpr uint32_t kEvRlsd = 0x0020;
constexpr uint32_t kEvBreak = 0x0040;
constexpr uint32_t kEvErr = 0x0080;
constexpr uint32_t kEvRing = 0x0100;
constexpr uint32_t kEvRingTrailingEdge = 0x2000;

// Line error bits, as the platform's CollectLineErrors returns them.
constexpr uint32_t kLineErrorRxOverflow = 0x01;
constexpr uint32_t kLineErrorOverrun = 0x02;
constexpr uint32_t kLineErrorParity = 0x04;
constexpr uint32_t kLineErrorFraming = 0x08;
constexpr uint32_t kLineErrorBreak = 0x10;

// Modem lines, as the platform's ReadModemLines returns them (high nibble of
// the modem status); the low nibble holds the matching change bits.
constexpr uint8_t kModemCts = 0x10;
constexpr uint8_t kModemDsr = 0x20;
constexpr uint8_t kModemRing = 0x40;
constexpr uint8_t kModemCarrier = 0x80;
constexpr uint8_t kModemRingTrailingEdge = 0x04;

// Line escapes for SendLineEscape.
constexpr int32_t kEscapeSetRts = 3;
constexpr int32_t kEscapeClrRts = 4;
constexpr int32_t kEscapeSetDtr = 5;
constexpr int32_t kEscapeClrDtr = 6;
