#include "serial/ByteText.h"

#include <cstdio>

std::string ByteText(uint8_t byte, bool hex, bool allHex) {
  const bool printable = byte >= 0x20 && byte < 0x7F;
  if (allHex || (hex && !printable)) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", byte);
    return digits;
  }
  return std::string(1, printable ? static_cast<char>(byte) : '.');
}
