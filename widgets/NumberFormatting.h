#pragma once
// The text a numeric field shows for a value, by number format and decimals.

#include <string>

#include "widgets/NumberFormat.h"
#include "widgets/NumberSeparators.h"

struct NumberStyle {
  TNumberFormat Format = TNumberFormat::Standard;
  int Decimals = -1;  // -1: as many as needed (up to 14); 0: none; 1 to 14: exactly that many
  NumberSeparators Separators;
};

// Standard with Decimals -1 shows 0 as "0", 123 as "123" and -12.5 as "-12.5";
// a whole number never shows a decimal separator. At most 15 significant digits
// are shown; fixed decimals beyond them are padded with zeros.
std::u16string FormatNumber(long double x, const NumberStyle& style);
