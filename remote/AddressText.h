#pragma once
// Address literals in the system's own reading (inet_pton), one file per platform
// (PosixAddressText.cpp, Win32AddressText.cpp).

#include <cstdint>

// Whether text, a terminated string, is a dotted IPv4 address; its 4 bytes in bytes then.
bool ReadIpv4Literal(const char* text, uint8_t* bytes);
// Whether text is an IPv6 address in any of its forms; its 16 bytes in bytes then.
bool ReadIpv6Literal(const char* text, uint8_t* bytes);
