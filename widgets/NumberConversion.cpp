#include "widgets/NumberConversion.h"

#include <cmath>
#include <limits>

#include "widgets/CLocaleNumber.h"

namespace {

// Messages quote the text as the user sees it, so it goes out as UTF-8.
std::string toUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t code = text[i];
    const bool highSurrogate = code >= 0xD800 && code < 0xDC00;
    if (highSurrogate && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;  // a lone surrogate
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

[[noreturn]] void rejectInteger(const std::string& text) {
  throw EConvertError("'" + text + "' is not a valid integer value");
}

[[noreturn]] void rejectFloat(std::u16string_view text) {
  throw EConvertError("'" + toUtf8(text) + "' is not a valid floating point value");
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Skips an optional sign and a run of digits; returns how many digits it passed.
size_t skipSignedDigits(std::u16string_view text, size_t& pos) {
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) ++pos;
  const size_t start = pos;
  while (pos < text.size() && isDigit(text[pos])) ++pos;
  return pos - start;
}

// The same number spelt for the C library: ASCII with "." as the separator.
std::string validatedFloatText(std::u16string_view text, char16_t decimalSeparator) {
  size_t pos = 0;
  size_t digits = skipSignedDigits(text, pos);
  if (pos < text.size() && text[pos] == decimalSeparator) {
    ++pos;
    while (pos < text.size() && isDigit(text[pos])) {
      ++pos;
      ++digits;
    }
  }
  if (digits == 0) rejectFloat(text);
  if (pos < text.size() && (text[pos] == u'E' || text[pos] == u'e')) {
    ++pos;
    if (skipSignedDigits(text, pos) == 0) rejectFloat(text);
  }
  if (pos != text.size()) rejectFloat(text);
  std::string ascii;
  for (const char16_t c : text) ascii += c == decimalSeparator ? '.' : static_cast<char>(c);
  return ascii;
}

}  // namespace

int32_t StrToInt(const std::string& text) {
  size_t pos = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
  if (pos == text.size()) rejectInteger(text);
  int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    if (text[pos] < '0' || text[pos] > '9') rejectInteger(text);
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > int64_t{std::numeric_limits<int32_t>::max()} + 1) rejectInteger(text);
  }
  const int64_t value = text[0] == '-' ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) rejectInteger(text);
  return static_cast<int32_t>(value);
}

int32_t StrToInt(std::u16string_view text) { return StrToInt(toUtf8(text)); }

long double StrToFloat(std::u16string_view text, char16_t decimalSeparator) {
  const std::string ascii = validatedFloatText(text, decimalSeparator);
  // The process locale may use another decimal point; read it the C way.
  bool outOfRange = false;
  const long double value = ReadCLocaleLongDouble(ascii, outOfRange);
  if (outOfRange) rejectFloat(text);
  return value;
}

int64_t TruncToInt64(long double x, std::u16string_view text) {
  const long double whole = std::trunc(x);
  // -2^63 is the least int64; 2^63 is the first value above the greatest.
  constexpr long double kLimit = 9223372036854775808.0L;
  if (!(whole >= -kLimit && whole < kLimit)) rejectInteger(toUtf8(text));
  return static_cast<int64_t>(whole);
}
