#pragma once
// A pattern-based float formatter. Pattern characters:
//   "0"  a digit always shown
//   "#"  a digit shown only if significant (leading and trailing zeros dropped)
//   "."  the place of the decimal separator, written only when a decimal follows
//   ","  anywhere in the integer part: group the integer digits by three
//   "E-" / "E+"  scientific notation; the exponent's sign is written only when
//        negative ("E-") or always ("E+"); "0"s after it set the exponent's least
//        number of digits
// Values round half away from zero at the last shown digit and keep at most
// kSignificantDigits significant digits; further digits show as zeros.
// A minus sign is written only when a nonzero digit is shown.
// Infinite and NaN values give "INF", "-INF" and "NAN".

#include <string>
#include <string_view>

#include "widgets/NumberSeparators.h"

constexpr int kSignificantDigits = 15;

// Throws std::invalid_argument for a pattern outside the grammar above.
std::u16string FormatFloat(std::string_view pattern, long double x,
                           const NumberSeparators& separators);
