#pragma once
// Turns a failed system call into an exception carrying errno and what was tried.

#include <string>

// Throws std::system_error built from errno and what.
[[noreturn]] void ThrowSystemError(const std::string& what);

// Returns result, or throws as ThrowSystemError when it is -1.
int CheckSystemCall(int result, const std::string& what);

// True for the errno values that mean "try again later", not failure.
bool WouldBlockOrInterrupted(int error);
