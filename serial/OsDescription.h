#pragma once
// A line describing the operating system and its version, for the header of
// the event log file.

#include <string>

std::string OsDescription();
