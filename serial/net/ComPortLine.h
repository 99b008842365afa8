#pragma once
// A line's settings as the COM-PORT-OPTION of RFC 2217 says them, worked
// out from the serial layer's DCB.

#include <cstdint>
#include <optional>

#include "serial/Dcb.h"

struct ComPortLine {
  uint32_t BaudRate = 0;
  uint8_t DataSize = 0;      // 5 to 8
  uint8_t Parity = 0;        // comport::kParityNone ...
  uint8_t StopSize = 0;      // comport::kStopOne ...
  uint8_t OutboundFlow = 0;  // comport::kFlowNone, kFlowXonXoff, kFlowHardware
  uint8_t InboundFlow = 0;   // comport::kInboundFlowNone ...

  bool operator==(const ComPortLine&) const = default;
};

// The settings of dcb, or none when it asks for what no serial line does
// (the same the terminal refuses): rate 0, a byte size outside 5 to 8, an
// unknown parity or stop-bit code. Sending is held back by CTS (hardware)
// or by XOFF; receiving holds the far end back by RTS handshake or by XOFF.
// DSR flow and the DTR line's handshake have no value of their own here and
// count as none.
std::optional<ComPortLine> ComPortLineOf(const Dcb& dcb);
