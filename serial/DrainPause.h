#pragma once
// The pause before a line is reconfigured once its output has drained: 18
// character times at the old rate, so the last bytes leave the UART.

#include <cstdint>

// Milliseconds for the framing (byte size, parity code, stop-bit code) at
// baud bits per second; a baud of 0 counts as 115200.
uint32_t DrainPauseMs(uint8_t byteSize, uint8_t parity, uint8_t stopBits, uint32_t baud);
