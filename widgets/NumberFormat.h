#pragma once
// How a numeric field lays out its number.

enum class TNumberFormat {
  Standard,     // plain digits: 1234.5
  Thousands,    // digits grouped by three: 1,234.5
  Scientific,   // one integer digit and an exponent: 1.2345E3
  Engineering,  // exponent a multiple of three: 1.2345E3, 12.345E3
};
