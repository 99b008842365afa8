#pragma once
// Whole files byte for byte in tests, and whether a path names anything.

#include <string>
#include <string_view>

// Replaces the file at path with exactly bytes; throws std::runtime_error when it cannot be
// written, so that a test never goes on with a file it did not make.
void WriteBytes(const std::string& path, std::string_view bytes);

// Every byte of the file at path; empty when there is none.
std::string ReadBytes(const std::string& path);

// Whether path names anything (a dangling link does not).
bool PathExists(const std::string& path);
