#pragma once
// Strict text-to-number conversions. Both raise EConvertError with the
// offending text quoted in the message.

#include <cstdint>
#include <string>
#include <string_view>

#include "widgets/ConvertError.h"

// A decimal integer: an optional "+" or "-", then one or more digits "0" to "9",
// nothing else (no blanks), and the value must fit 32 bits. Anything else, the
// empty text included, raises "'<text>' is not a valid integer value".
int32_t StrToInt(const std::string& text);
int32_t StrToInt(std::u16string_view text);

// A floating-point number written with the given decimal separator: an optional
// sign, digits with at most one decimal separator (at least one digit in all),
// then optionally "E" or "e", an optional sign and at least one digit. A value
// beyond the range of long double raises as well; one too small to represent
// becomes 0. Raises "'<text>' is not a valid floating point value".
long double StrToFloat(std::u16string_view text, char16_t decimalSeparator);

// x truncated toward zero. When that does not fit 64 bits, raises
// "'<text>' is not a valid integer value", text being where x was read from.
int64_t TruncToInt64(long double x, std::u16string_view text);
