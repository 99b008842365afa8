#pragma once
// Port names and the device paths they stand for.

#include <string>

#include "serial/PortDeviceName.h"

// The path to open for a device name. "\\.\COMn" (n from 1) is the target of
// a symbolic link named "COMn" in the current directory when there is one
// (made absolute when the link is relative), else /dev/ttyS<n-1>. Any other
// name is already a path and comes back unchanged.
std::string ResolvePortPath(const std::string& name);
