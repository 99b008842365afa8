#pragma once
// The error-text table of the serial layer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ErrorTextEntry {
  int32_t Code;
  std::string Text;
};

// All 897 entries in ascending order of the code's magnitude.
const std::vector<ErrorTextEntry>& ErrorTextTable();

// The text of a code, looked up by the magnitude of its low 16 bits; codes
// without an entry fall back to the system's text for that error number,
// control characters turned into blanks and runs of blanks folded. Empty when
// neither has one.
std::string ErrorText(int32_t code);

// The middle index of a binary-search step: (low + high) / 2 rounded to the
// nearest integer, a half going to the even neighbour.
std::ptrdiff_t SearchMiddle(std::ptrdiff_t low, std::ptrdiff_t high);
