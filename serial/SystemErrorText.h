#pragma once
// The operating system's own text for one of its error numbers (errno on
// POSIX systems, GetLastError on Windows), as the system gives it.

#include <string>

// Empty when the system has no text for number.
std::string SystemErrorText(int number);
