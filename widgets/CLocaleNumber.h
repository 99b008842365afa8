#pragma once
// Reading a number the way the C locale spells it, whatever locale the
// process runs in (the GUI toolkit may have set the user's).

#include <string>

// The value of text, a number as strtold reads it with "." as the decimal
// separator; outOfRange is set when its magnitude is too large for a long
// double (the value is then infinite).
long double ReadCLocaleLongDouble(const std::string& text, bool& outOfRange);
