#pragma once
// The 8-bit text of the panel's plain-text files. Files written on this system are UTF-8;
// files carried over from older systems hold Latin-1. A line that is valid UTF-8 is read as
// UTF-8, any other line as Latin-1, so every byte sequence gives a text.

#include <string>
#include <string_view>

// The characters of one line of a file.
std::u32string DecodeFileText(std::string_view bytes);

// The UTF-8 form of characters.
std::string EncodeUtf8(std::u32string_view characters);
