#pragma once
// Port names and the device paths they stand for.

#include <optional>
#include <string>

#include "serial/PortDeviceName.h"
#include "serial/net/NetTarget.h"

// Where the links named "COMn" are looked for: the program's start-up directory,
// which the program sets as it starts. Empty (as before it is set) stands for the
// current directory.
void SetPortLinkDirectory(const std::string& directory);

// The path to open for a device name. "\\.\COMn" (n from 1) is the target of
// a symbolic link named "COMn" in the link directory when there is one (made
// absolute when the link is relative), else /dev/ttyS<n-1>. Any other name is
// already a path and comes back unchanged.
std::string ResolvePortPath(const std::string& name);

// The serial server a device name stands for: "\\.\COMn" whose link named
// "COMn" in the link directory has a server URL as its target (see
// NetTarget), or such a URL itself. None for every other name and link,
// which ResolvePortPath turns into a path.
std::optional<NetTarget> ServerOfPort(const std::string& name);
