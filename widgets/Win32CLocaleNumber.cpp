#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "widgets/CLocaleNumber.h"

long double ReadCLocaleLongDouble(const std::string& text, bool& outOfRange) {
  // The Windows C library has no strtold for a given locale: the text gets
  // the current locale's decimal separator instead. The program never
  // changes its locale while it reads numbers.
  std::string spelt;
  const char* separator = std::localeconv()->decimal_point;
  for (const char c : text) {
    if (c == '.') {
      spelt += separator;
    } else {
      spelt += c;
    }
  }
  errno = 0;
  const long double value = std::strtold(spelt.c_str(), nullptr);
  outOfRange = errno == ERANGE && std::isinf(value);
  return value;
}
