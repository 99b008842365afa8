#include "widgets/FormatFloat.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "widgets/DecimalDigits.h"

namespace {

struct Pattern {
  bool grouping = false;
  int minInteger = 0;     // "0"s before the decimal point
  int integerPlaces = 0;  // "0"s and "#"s before it
  int minDecimals = 0;    // places up to the last "0" after it
  int maxDecimals = 0;    // all places after it
  bool scientific = false;
  bool alwaysExponentSign = false;
  int minExponentDigits = 0;
};

[[noreturn]] void rejectPattern(std::string_view pattern) {
  throw std::invalid_argument("unsupported float pattern: " + std::string(pattern));
}

size_t parseExponent(std::string_view text, size_t pos, Pattern& pattern) {
  if (pos + 1 >= text.size() || (text[pos + 1] != '-' && text[pos + 1] != '+')) {
    rejectPattern(text);
  }
  pattern.scientific = true;
  pattern.alwaysExponentSign = text[pos + 1] == '+';
  pos += 2;
  while (pos < text.size() && text[pos] == '0') {
    ++pattern.minExponentDigits;
    ++pos;
  }
  return pos;
}

Pattern parsePattern(std::string_view text) {
  Pattern pattern;
  bool inFraction = false;
  size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == 'E' || c == 'e') {
      pos = parseExponent(text, pos, pattern);
      break;
    }
    if (c == '.' && !inFraction) {
      inFraction = true;
    } else if (c == ',' && !inFraction) {
      pattern.grouping = true;
    } else if (c == '0' || c == '#') {
      if (inFraction) {
        ++pattern.maxDecimals;
        if (c == '0') pattern.minDecimals = pattern.maxDecimals;
      } else {
        ++pattern.integerPlaces;
        if (c == '0') ++pattern.minInteger;
      }
    } else {
      rejectPattern(text);
    }
    ++pos;
  }
  if (pos != text.size()) rejectPattern(text);
  return pattern;
}

// The decimal digits worth 10^-1 to 10^-maxDecimals, trailing optional zeros dropped.
std::u16string fractionDigits(const DecimalDigits& digits, const Pattern& pattern) {
  std::u16string fraction;
  for (int power = -1; power >= -pattern.maxDecimals; --power) fraction += DigitAt(digits, power);
  while (static_cast<int>(fraction.size()) > pattern.minDecimals && fraction.back() == u'0') {
    fraction.pop_back();
  }
  return fraction;
}

std::u16string integerDigits(const DecimalDigits& digits, int count, const Pattern& pattern,
                             char16_t thousands) {
  std::u16string integer;
  for (int power = count - 1; power >= 0; --power) {
    integer += DigitAt(digits, power);
    if (pattern.grouping && thousands != 0 && power > 0 && power % 3 == 0) integer += thousands;
  }
  return integer;
}

std::u16string joinParts(const std::u16string& integer, const std::u16string& fraction,
                         char16_t decimal) {
  return fraction.empty() ? integer : integer + decimal + fraction;
}

std::u16string exponentText(int exponent, const Pattern& pattern) {
  std::u16string text = u"E";
  if (exponent < 0) {
    text += u'-';
  } else if (pattern.alwaysExponentSign) {
    text += u'+';
  }
  std::u16string digits;
  for (const char c : std::to_string(std::abs(exponent))) digits += c;
  if (static_cast<int>(digits.size()) < pattern.minExponentDigits) {
    digits.insert(0, pattern.minExponentDigits - digits.size(), u'0');
  }
  return text + digits;
}

std::u16string fixedText(long double x, const Pattern& pattern, const NumberSeparators& seps) {
  const DecimalDigits exact = ExactDigits(x);
  const int keep = std::min(exact.PointPosition + pattern.maxDecimals, kSignificantDigits);
  const DecimalDigits digits = RoundDigits(exact, keep);
  const int count = std::max(digits.PointPosition, pattern.minInteger);
  const std::u16string integer = integerDigits(digits, count, pattern, seps.Thousands);
  const std::u16string text = joinParts(integer, fractionDigits(digits, pattern), seps.Decimal);
  return std::signbit(x) && !digits.Digits.empty() ? u'-' + text : text;
}

std::u16string scientificText(long double x, const Pattern& pattern, const NumberSeparators& seps) {
  const int integerCount = std::max(pattern.integerPlaces, 1);
  const int keep = std::min(integerCount + pattern.maxDecimals, kSignificantDigits);
  DecimalDigits digits = RoundDigits(ExactDigits(x), keep);
  const bool zero = digits.Digits.empty();
  const int exponent = zero ? 0 : digits.PointPosition - integerCount;
  if (!zero) digits.PointPosition = integerCount;
  const std::u16string integer = integerDigits(digits, integerCount, Pattern{}, 0);
  const std::u16string text = joinParts(integer, fractionDigits(digits, pattern), seps.Decimal) +
                              exponentText(exponent, pattern);
  return std::signbit(x) && !zero ? u'-' + text : text;
}

}  // namespace

std::u16string FormatFloat(std::string_view pattern, long double x,
                           const NumberSeparators& separators) {
  const Pattern parsed = parsePattern(pattern);
  if (std::isnan(x)) return u"NAN";
  if (std::isinf(x)) return x < 0 ? u"-INF" : u"INF";
  return parsed.scientific ? scientificText(x, parsed, separators)
                           : fixedText(x, parsed, separators);
}
