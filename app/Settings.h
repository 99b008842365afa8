#pragma once
// The nine values the panel keeps between runs, with the values of a first start.

#include <cstdint>
#include <string>

struct TSettings {
  // Serial port number, COM1 is 1; the port takes its low 16 bits.
  int32_t ComNumber = 1;
  // Language code matched against the language file's lines (UTF-8).
  std::string Language = "EN";
  // Poll timer interval in milliseconds.
  int32_t PollRate = 1000;
  // Kept from the file and written back unchanged.
  int32_t Reserved = 10;
  // Park positions of axis 1 and axis 2, whole degrees.
  int32_t Park1 = 0;
  int32_t Park2 = 0;
  // Axis configuration: 0 "AZ | none", 1 "EL | none", 2 "AZ | EL", 3 "AZ | AZ", -1 none.
  int32_t AxisConfig = 2;
  // Window's left and top edge, screen pixels.
  int32_t WindowLeft = 50;
  int32_t WindowTop = 50;

  bool operator==(const TSettings&) const = default;
};
