#include "tests/faults/NumberedSettings.h"

#include <array>
#include <cstdint>
#include <string>

TSettings NumberedSettings(int32_t n) {
  static const std::array<std::string, 4> languages = {"EN", "DE", "Language", "FR"};
  static const std::array<int32_t, 5> pollRates = {500, 1000, 2000, 5000, 0};
  TSettings settings;
  settings.ComNumber = 1 + n % 32;
  settings.Language = languages[static_cast<size_t>(n) % languages.size()];
  settings.PollRate = pollRates[static_cast<size_t>(n) % pollRates.size()];
  settings.Reserved = n;
  settings.Park1 = -(n * 37 % 100000);
  settings.Park2 = n % 7 == 0 ? 0 : n * 7919 % 2000000000;
  settings.AxisConfig = n % 5 - 1;
  settings.WindowLeft = n * 13 % 4000 - 2000;
  settings.WindowTop = n % 3 == 0 ? INT32_MIN : n % 1000;
  return settings;
}
