#pragma once
// The three-digit angle field that the move commands carry for one axis.

#include <array>
#include <cstdint>
#include <optional>

// Hundreds, tens and units digit as ASCII bytes.
using AngleField = std::array<uint8_t, 3>;

// The angle field of the whole-number target n. 0 to 999 give the three digits with leading
// zeros (7 gives "007", 45 gives "045"). Any other value has no three-digit form and yields no
// field: the command must not be sent, because dropping or cutting digits would move the
// rotator somewhere the operator did not ask for. Takes the target field's 64-bit whole-number
// value as it is, so that no narrowing can turn a huge entry into a plausible angle.
std::optional<AngleField> FormatAngle3(int64_t n);
