#pragma once
// The decimal digits of a finite floating-point magnitude, for the pattern
// formatter: value = 0.Digits x 10^PointPosition.

#include <string>

struct DecimalDigits {
  std::string Digits;     // significant digits, no leading or trailing zeros; empty for zero
  int PointPosition = 0;  // digits before the decimal point; may be negative or exceed Digits
};

// The digits of |x| for a finite x, exact far beyond any digit we round at.
DecimalDigits ExactDigits(long double x);

// Keeps the first `keep` significant digits, rounding half away from zero;
// keep <= 0 rounds at or above the first digit and may give zero.
DecimalDigits RoundDigits(DecimalDigits digits, int keep);

// The digit worth 10^power: power 0 is the units digit, -1 the first decimal.
char DigitAt(const DecimalDigits& digits, int power);
