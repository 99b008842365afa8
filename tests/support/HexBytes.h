#pragma once
// Bytes as the simulator's command log writes them: upper-case hex, one space between bytes
// ("4D 30 34 35 0D").

#include <string>
#include <string_view>

std::string HexBytes(std::string_view bytes);
