#include "protocol/AngleField.h"

namespace {

constexpr int64_t kLargestAngle = 999;

uint8_t digit(int64_t value) { return static_cast<uint8_t>('0' + value % 10); }

}  // namespace

std::optional<AngleField> FormatAngle3(int64_t n) {
  if (n < 0 || n > kLargestAngle) {
    return std::nullopt;
  }
  return AngleField{digit(n / 100), digit(n / 10), digit(n)};
}
