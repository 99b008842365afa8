#pragma once
// Reading a text file another process is writing, line by line.

#include <cstddef>
#include <string>
#include <vector>

// The lines of a text file, without their newlines; a last unfinished line is left out.
std::vector<std::string> ReadLines(const std::string& path);

// Waits (up to kPatience) until the file has at least count lines and returns them all.
std::vector<std::string> WaitForLines(const std::string& path, std::size_t count);
