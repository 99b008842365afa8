#include "serial/DrainPause.h"

#include "serial/Dcb.h"

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
