#pragma once
// Numbers in rotctld requests and replies, read and written as hamlib does in the C locale,
// whatever locale the panel runs in (a German desktop must not turn "30.00" into "30,00").

#include <optional>
#include <string>
#include <string_view>

// The number text starts with, as C's sscanf "%f" reads it: an optional sign, then decimal
// digits with an optional point and exponent, or "0x" and hexadecimal digits, or inf or nan.
// What follows the number is ignored ("10,5" reads as 10, as a tracker in a locale with a
// decimal comma relies on); nothing when no number starts text.
std::optional<double> LeadingFloat(std::string_view text);

// The whole number text starts with, as sscanf "%d" reads it: an optional sign and decimal
// digits; nothing when none start text or the number does not fit an int.
std::optional<int> LeadingInt(std::string_view text);

// value with exactly decimals digits after a decimal point, as printf "%.*f" writes it.
std::string FixedPoint(double value, int decimals);
