#pragma once
// The device name of a port number, as the component hands it to the
// platform layer.

#include <cstdint>
#include <string>
#include <string_view>

// What every port's device name starts with: "\\.\COM".
inline constexpr std::string_view kPortDevicePrefix = "\\\\.\\COM";

// "\\.\COM" followed by the number.
std::string PortDeviceName(uint32_t portNumber);
