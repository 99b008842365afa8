#pragma once
// Files of many megabytes for the fault tests, written piece by piece so that the test itself
// never holds them in memory.

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr size_t kMiB = size_t{1} << 20;

// Writes head, then filler repeated (and cut) to fill bytes, then tail.
void WriteFilledFile(const std::string& path, const std::string& head, const std::string& filler,
                     size_t bytes, const std::string& tail = "");

// count random bytes of the seed, line ends and zero bytes included, but no 'E': no line of
// them belongs to the language "EN".
std::string Garbage(size_t count, uint32_t seed);
