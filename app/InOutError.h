#pragma once
// The input/output error of the panel's own files (settings, language, position log).

#include <string>

#include "serial/SioExceptions.h"

// Raises EInOutError for the system error errorNumber met on the file at path:
// "E/A-Fehler <n> (<path>: <system reason>)".
[[noreturn]] void RaiseInOutError(int errorNumber, const std::string& path);
