#pragma once
// A broken invariant in a fuzz target: says which one and aborts, so libFuzzer keeps the input.

#include <string_view>

// Aborts with "broken: <what>" unless holds.
void Check(bool holds, std::string_view what);
