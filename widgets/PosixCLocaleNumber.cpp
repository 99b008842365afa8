#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "widgets/CLocaleNumber.h"

long double ReadCLocaleLongDouble(const std::string& text, bool& outOfRange) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  errno = 0;
  const long double value = strtold_l(text.c_str(), nullptr, cLocale);
  outOfRange = errno == ERANGE && std::isinf(value);
  return value;
}
