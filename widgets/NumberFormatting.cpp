#include "widgets/NumberFormatting.h"

#include <algorithm>
#include <cmath>

#include "widgets/FormatFloat.h"
#include "widgets/NumberConversion.h"

namespace {

// Places a value may show when Decimals is -1.
constexpr int kMostDecimals = 14;

std::u16string decimalText(int value) {
  std::u16string text;
  for (const char c : std::to_string(value)) text += c;
  return text;
}

// Exponent a multiple of three; the mantissa keeps up to 14 digits in all.
std::u16string engineeringText(long double x, const NumberStyle& style) {
  const int third = static_cast<int>(std::trunc(std::log10(std::fabs(x)) / 3));
  const std::u16string exponent = decimalText(3 * third);
  x /= StrToFloat(u"1E" + exponent, u'.');
  int places = kMostDecimals;
  if (x > 9) --places;
  if (x > 99) --places;
  if (style.Decimals != -1 && style.Decimals < places) places = style.Decimals;
  std::string pattern = "0";
  if (style.Decimals != 0) pattern.append(".").append(places, style.Decimals < 0 ? '#' : '0');
  return FormatFloat(pattern, x, style.Separators) + u"E" + exponent;
}

std::string basePattern(const NumberStyle& style) {
  std::string pattern = style.Format == TNumberFormat::Thousands ? ",0" : "0";
  if (style.Decimals > 0) pattern.append(".").append(style.Decimals, '0');
  if (style.Decimals < 0) pattern.append(".").append(kMostDecimals, '#');
  if (style.Format == TNumberFormat::Scientific || style.Format == TNumberFormat::Engineering) {
    pattern += "E-";
  }
  return pattern;
}

// A fixed-point text with more than 15 significant digits is cut back to 15;
// fixed decimals past them are written as zeros, so the number of decimals and
// the value itself stay right even for integer parts of 15 digits and more.
std::u16string limitSignificant(long double x, std::u16string text, const NumberStyle& style) {
  const char16_t decimal = style.Separators.Decimal;
  const size_t separatorAt = text.find(decimal);
  if (text.find(u'E') != std::u16string::npos || separatorAt == std::u16string::npos) return text;
  const int integerDigits = static_cast<int>(std::count_if(
      text.begin(), text.begin() + separatorAt, [](char16_t c) { return c >= u'0' && c <= u'9'; }));
  const int room = std::max(kSignificantDigits - integerDigits, 0);
  const std::string head = style.Format == TNumberFormat::Thousands ? ",0." : "0.";
  if (style.Decimals == -1 && style.Format == TNumberFormat::Thousands) {
    return FormatFloat(head + std::string(room, '#'), x, style.Separators);
  }
  if (style.Decimals >= 0 && room < style.Decimals) {
    text = FormatFloat(head + std::string(room, '0'), x, style.Separators);
    if (room == 0) text += decimal;
    return text + std::u16string(style.Decimals - room, u'0');
  }
  return text;
}

}  // namespace

std::u16string FormatNumber(long double x, const NumberStyle& style) {
  if (style.Format == TNumberFormat::Engineering && x != 0 && std::isfinite(x)) {
    return engineeringText(x, style);
  }
  return limitSignificant(x, FormatFloat(basePattern(style), x, style.Separators), style);
}
