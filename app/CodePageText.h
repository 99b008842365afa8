#pragma once
// The 8-bit text of the panel's plain-text files. Files written on this system are UTF-8;
// files written on Windows hold its code page 1252. A line that is valid UTF-8 is read as
// UTF-8, any other line as code page 1252, so every byte sequence gives a text.

#include <string>
#include <string_view>

// The characters of one line of a file.
std::u32string DecodeFileText(std::string_view bytes);

// The UTF-8 form of characters.
std::string EncodeUtf8(std::u32string_view characters);
