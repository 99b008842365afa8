#include "tests/support/HexBytes.h"

#include <cstdio>

std::string HexBytes(std::string_view bytes) {
  std::string hex;
  for (const char c : bytes) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(c));
    if (!hex.empty()) hex += ' ';
    hex += byte;
  }
  return hex;
}
