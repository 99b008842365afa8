#pragma once
// Pieces of text one after the other, for the hub's messages and replies. Built by appending
// into one string: GCC 12 at -O3 warns of an overlapping copy for a literal added in front of a
// std::string (a false -Wrestrict), which would break a plain Release build.

#include <initializer_list>
#include <string>
#include <string_view>

inline std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (const std::string_view piece : pieces) text.append(piece);
  return text;
}
