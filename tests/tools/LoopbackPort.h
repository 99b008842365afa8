#pragma once
// TCP ports on 127.0.0.1 for tests that start servers.

#include <cstdint>

// A TCP port on 127.0.0.1 that was free a moment ago (the system picked it).
uint16_t FreeLoopbackPort();

// Whether a TCP socket listens on port, on 127.0.0.1 or on any address.
bool ListeningOn(uint16_t port);
