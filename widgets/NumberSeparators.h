#pragma once
// The two characters a locale writes into numbers.

struct NumberSeparators {
  char16_t Decimal = u'.';
  char16_t Thousands = u',';  // 0 when the locale groups digits without one

  bool operator==(const NumberSeparators&) const = default;
};
