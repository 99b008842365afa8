#pragma once
// How the trace and log dumps write one byte: two hex digits when allHex is
// set, or when hex is set and the byte is not printable; otherwise the
// character itself, a non-printable one as '.'.

#include <cstdint>
#include <string>

std::string ByteText(uint8_t byte, bool hex, bool allHex);
