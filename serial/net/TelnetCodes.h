#pragma once
// The codes of the telnet protocol (RFC 854, 855, 856, 858) and of its
// COM-PORT-OPTION (RFC 2217) that the serial server link uses.

#include <cstdint>

namespace telnet {

// Commands, each after kIac.
constexpr uint8_t kIac = 255;
constexpr uint8_t kDont = 254;
constexpr uint8_t kDo = 253;
constexpr uint8_t kWont = 252;
constexpr uint8_t kWill = 251;
constexpr uint8_t kSb = 250;
constexpr uint8_t kSe = 240;

// Options.
constexpr uint8_t kBinary = 0;
constexpr uint8_t kSuppressGoAhead = 3;
constexpr uint8_t kComPort = 44;

// The network virtual terminal's line end rule outside binary mode: a bare
// CR travels as CR NUL.
constexpr uint8_t kCr = 13;
constexpr uint8_t kNul = 0;

}  // namespace telnet

namespace comport {

// Commands of the client; the server answers and notifies with the same
// code plus kServerOffset.
constexpr uint8_t kSignature = 0;
constexpr uint8_t kSetBaudRate = 1;
constexpr uint8_t kSetDataSize = 2;
constexpr uint8_t kSetParity = 3;
constexpr uint8_t kSetStopSize = 4;
constexpr uint8_t kSetControl = 5;
constexpr uint8_t kNotifyLineState = 6;
constexpr uint8_t kNotifyModemState = 7;
constexpr uint8_t kFlowControlSuspend = 8;
constexpr uint8_t kFlowControlResume = 9;
constexpr uint8_t kSetLineStateMask = 10;
constexpr uint8_t kSetModemStateMask = 11;
constexpr uint8_t kPurgeData = 12;
constexpr uint8_t kServerOffset = 100;

// Parity values.
constexpr uint8_t kParityNone = 1;
constexpr uint8_t kParityOdd = 2;
constexpr uint8_t kParityEven = 3;
constexpr uint8_t kParityMark = 4;
constexpr uint8_t kParitySpace = 5;

// Stop size values.
constexpr uint8_t kStopOne = 1;
constexpr uint8_t kStopTwo = 2;
constexpr uint8_t kStopOneAndHalf = 3;

// SET-CONTROL values.
constexpr uint8_t kFlowNone = 1;
constexpr uint8_t kFlowXonXoff = 2;
constexpr uint8_t kFlowHardware = 3;
constexpr uint8_t kDtrOn = 8;
constexpr uint8_t kDtrOff = 9;
constexpr uint8_t kRtsOn = 11;
constexpr uint8_t kRtsOff = 12;
constexpr uint8_t kInboundFlowNone = 14;
constexpr uint8_t kInboundFlowXonXoff = 15;
constexpr uint8_t kInboundFlowHardware = 16;

// NOTIFY-LINESTATE bits that are line errors: overrun, parity, framing,
// break; the UART's line status register, whose bits match the line error
// bits of the serial layer.
constexpr uint8_t kLineStateErrors = 0x1E;
// NOTIFY-MODEMSTATE: every line and every change (a mask without the change
// bits would hide the last line going low).
constexpr uint8_t kModemStateAll = 0xFF;

// PURGE-DATA values: what the server received from the line (for the
// client), what it holds to send to the line.
constexpr uint8_t kPurgeReceived = 1;
constexpr uint8_t kPurgeToSend = 2;

}  // namespace comport
