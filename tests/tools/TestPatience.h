#pragma once
// How long a test waits for something that should happen: generous, so a
// loaded machine or a sanitizer build does not fail a test.

#include <chrono>

inline constexpr std::chrono::milliseconds kPatience{10'000};
