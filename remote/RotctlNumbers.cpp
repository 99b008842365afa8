#include "remote/RotctlNumbers.h"

#include <array>
#include <charconv>
#include <system_error>

namespace {

bool startsWithHexPrefix(std::string_view text) {
  return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// Strips one sign; true when it was a minus.
bool takeSign(std::string_view& text) {
  if (text.empty() || (text[0] != '+' && text[0] != '-')) return false;
  const bool negative = text[0] == '-';
  text.remove_prefix(1);
  return negative;
}

}  // namespace

std::optional<double> LeadingFloat(std::string_view text) {
  const bool negative = takeSign(text);
  // from_chars takes no sign of its own here: "--5" or "+-5" is no number for sscanf either.
  if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
  double value = 0;
  const char* end = text.data() + text.size();
  if (startsWithHexPrefix(text)) {
    const auto [next, error] = std::from_chars(text.data() + 2, end, value, std::chars_format::hex);
    // "0x" without a hexadecimal digit after it reads as the 0 in front of the x.
    if (error != std::errc{}) value = 0;
  } else {
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{}) return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<int> LeadingInt(std::string_view text) {
  const bool negative = takeSign(text);
  if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
  int value = 0;
  const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{}) return std::nullopt;
  // The magnitude of INT_MIN does not fit; such a position or direction means nothing anyway.
  return negative ? -value : value;
}

std::string FixedPoint(double value, int decimals) {
  // Enough for any double in fixed notation with the few decimals the replies use.
  std::array<char, 400> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::fixed, decimals);
  if (error != std::errc{}) return "nan";
  return std::string(buffer.data(), end);
}
