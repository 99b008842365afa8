#include "widgets/DecimalDigits.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// A 64-bit mantissa lies at least ~1e-40 (relative) away from any tie it does
// not hit, so 60 digits tell a true tie from a near one at every digit we use.
constexpr int kExactDigits = 60;

void trimTrailingZeros(DecimalDigits& digits) {
  const auto last = digits.Digits.find_last_not_of('0');
  digits.Digits.erase(last == std::string::npos ? 0 : last + 1);
  if (digits.Digits.empty()) digits.PointPosition = 0;
}

}  // namespace

DecimalDigits ExactDigits(long double x) {
  DecimalDigits result;
  if (x == 0) return result;
  char buffer[kExactDigits + 16];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x),
                                     std::chars_format::scientific, kExactDigits - 1);
  const std::string text(buffer, written.ptr);  // "d.ddd...e+X"
  const size_t exponentAt = text.find('e');
  for (size_t i = 0; i < exponentAt; ++i) {
    if (text[i] != '.') result.Digits += text[i];
  }
  result.PointPosition = std::atoi(text.c_str() + exponentAt + 1) + 1;
  trimTrailingZeros(result);
  return result;
}

DecimalDigits RoundDigits(DecimalDigits digits, int keep) {
  if (keep >= static_cast<int>(digits.Digits.size())) return digits;
  const bool roundUp = keep >= 0 && digits.Digits[keep] >= '5';
  if (keep <= 0) {
    // Everything goes; a first digit of 5 or more becomes a 1 one place up.
    if (!roundUp) return DecimalDigits{};
    return DecimalDigits{"1", digits.PointPosition + 1};
  }
  digits.Digits.erase(keep);
  if (roundUp) {
    int i = keep - 1;
    while (i >= 0 && digits.Digits[i] == '9') digits.Digits[i--] = '0';
    if (i >= 0) {
      ++digits.Digits[i];
    } else {
      digits.Digits.insert(digits.Digits.begin(), '1');
      ++digits.PointPosition;
    }
  }
  trimTrailingZeros(digits);
  return digits;
}

char DigitAt(const DecimalDigits& digits, int power) {
  const int index = digits.PointPosition - 1 - power;
  if (index < 0 || index >= static_cast<int>(digits.Digits.size())) return '0';
  return digits.Digits[index];
}
