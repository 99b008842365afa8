#include "serial/net/ComPortLine.h"

#include "serial/net/TelnetCodes.h"

namespace {

std::optional<uint8_t> parityOf(uint8_t parity) {
  switch (parity) {
    case kNoParity:
      return comport::kParityNone;
    case kOddParity:
      return comport::kParityOdd;
    case kEvenParity:
      return comport::kParityEven;
    case kMarkParity:
      return comport::kParityMark;
    case kSpaceParity:
      return comport::kParitySpace;
    default:
      return std::nullopt;
  }
}

std::optional<uint8_t> stopSizeOf(uint8_t stopBits) {
  switch (stopBits) {
    case kOneStopBit:
      return comport::kStopOne;
    case kOne5StopBits:
      return comport::kStopOneAndHalf;
    case kTwoStopBits:
      return comport::kStopTwo;
    default:
      return std::nullopt;
  }
}

uint8_t outboundFlowOf(uint32_t flags) {
  if (flags & kDcbOutxCtsFlow) return comport::kFlowHardware;
  if (flags & kDcbOutX) return comport::kFlowXonXoff;
  return comport::kFlowNone;
}

uint8_t inboundFlowOf(uint32_t flags) {
  if ((flags & kDcbRtsControlMask) == kRtsControlHandshake) return comport::kInboundFlowHardware;
  if (flags & kDcbInX) return comport::kInboundFlowXonXoff;
  return comport::kInboundFlowNone;
}

}  // namespace

std::optional<ComPortLine> ComPortLineOf(const Dcb& dcb) {
  const std::optional<uint8_t> parity = parityOf(dcb.Parity);
  const std::optional<uint8_t> stopSize = stopSizeOf(dcb.StopBits);
  if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || !parity || !stopSize) {
    return std::nullopt;
  }
  ComPortLine line;
  line.BaudRate = dcb.BaudRate;
  line.DataSize = dcb.ByteSize;
  line.Parity = *parity;
  line.StopSize = *stopSize;
  line.OutboundFlow = outboundFlowOf(dcb.Flags);
  line.InboundFlow = inboundFlowOf(dcb.Flags);
  return line;
}
