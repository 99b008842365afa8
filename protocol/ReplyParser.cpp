#include "protocol/ReplyParser.h"

#include <optional>

namespace {

// Positions 1 to 16 move down when a leading CR is dropped: a full report and its LF.
constexpr size_t kShiftedPositions = 16;

bool isDigit(uint8_t byte) { return byte >= '0' && byte <= '9'; }

// The number in the three digits at first, when they stand alone: a digit right before or
// after them would mean a wider field of which only a part would be read.
template <size_t N>
std::optional<int32_t> digitGroup(const std::array<uint8_t, N>& buf, size_t first) {
  if (isDigit(buf[first - 1]) || isDigit(buf[first + 3])) {
    return std::nullopt;
  }
  int32_t value = 0;
  for (size_t i = first; i < first + 3; ++i) {
    if (!isDigit(buf[i])) {
      return std::nullopt;
    }
    value = value * 10 + (buf[i] - '0');
  }
  return value;
}

}  // namespace

ReplyOutcome ReplyParser::TriggerAvail(uint16_t Count, const ByteReader& ReadChar) {
  ReplyOutcome outcome;
  if (Count >= kMinimumCount) {
    outcome.Read = true;
    for (size_t i = 0; i < Count; ++i) {
      const uint8_t byte = ReadChar();
      if (i < rxBuf_.size()) {
        rxBuf_[i] = byte;
      }
      outcome.EchoLine += std::to_string(byte);
      outcome.EchoLine += ' ';
    }
    if (rxBuf_[0] == kCarriageReturn) {
      for (size_t i = 0; i < kShiftedPositions; ++i) {
        rxBuf_[i] = rxBuf_[i + 1];
      }
    }
    if (rxBuf_[0] == 'A' && rxBuf_[1] == 'Z') {
      if (const std::optional<int32_t> axis1 = digitGroup(rxBuf_, kAxis1Digits)) {
        position1_ = *axis1;
        const bool labelled = rxBuf_[kAxis2Label] == 'E' && rxBuf_[kAxis2Label + 1] == 'L';
        if (const std::optional<int32_t> axis2 = digitGroup(rxBuf_, kAxis2Digits);
            labelled && axis2) {
          position2_ = *axis2;
          position2Read_ = true;
        }
        outcome.ReportAccepted = true;
      }
    }
  }
  outcome.Position1 = position1_;
  outcome.Position2 = position2_;
  outcome.Position2Read = position2Read_;
  outcome.ReadOut1Text = PositionLabelText(position1_);
  outcome.ReadOut2Text = PositionLabelText(position2_);
  return outcome;
}

std::string PositionLabelText(int32_t position) { return std::to_string(position) + "\u00B0"; }
