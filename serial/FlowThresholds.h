#pragma once
// The flow-control thresholds of the serial port: bytes in the device's
// input queue at which the far end is stopped (full) and let go on (resume).

#include <cstdint>

struct FlowThresholds {
  uint16_t Full = 0;
  uint16_t Resume = 0;

  bool operator==(const FlowThresholds&) const = default;
};

enum class FlowKind { Hardware, Software };

// numerator / denominator of value, rounded to the nearest whole number with
// halves to even, computed exactly.
uint16_t RoundedShare(uint32_t value, uint32_t numerator, uint32_t denominator);

// Thresholds made usable for flow control over an input queue of inSize
// bytes: Full becomes 0.9 (hardware) or 0.75 (software) of inSize when it is
// 0 or above inSize; Resume becomes 0.1 or 0.25 of inSize when it is 0 or
// above the resulting Full.
FlowThresholds DefaultFlowThresholds(FlowThresholds current, uint16_t inSize, FlowKind kind);
