#pragma once
// One line of the command log: the time a command arrived and its bytes.

#include <chrono>
#include <string>
#include <string_view>

// "<ms>\t<bytes as upper-case hex separated by blanks>\n", e.g. "1532\t43 32 0D\n".
std::string CommandLogLine(std::chrono::milliseconds sinceStart, std::string_view command);
