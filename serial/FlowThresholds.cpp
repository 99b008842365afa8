#include "serial/FlowThresholds.h"

uint16_t RoundedShare(uint32_t value, uint32_t numerator, uint32_t denominator) {
  const uint64_t product = static_cast<uint64_t>(value) * numerator;
  uint64_t whole = product / denominator;
  const uint64_t twiceRest = 2 * (product % denominator);
  if (twiceRest > denominator || (twiceRest == denominator && whole % 2 == 1)) ++whole;
  return static_cast<uint16_t>(whole);
}

FlowThresholds DefaultFlowThresholds(FlowThresholds current, uint16_t inSize, FlowKind kind) {
  const bool hardware = kind == FlowKind::Hardware;
  FlowThresholds result = current;
  if (result.Full == 0 || result.Full > inSize) {
    result.Full = hardware ? RoundedShare(inSize, 9, 10) : RoundedShare(inSize, 3, 4);
  }
  if (result.Resume == 0 || result.Resume > result.Full) {
    result.Resume = hardware ? RoundedShare(inSize, 1, 10) : RoundedShare(inSize, 1, 4);
  }
  return result;
}
