#pragma once
// Reaching a serial server: its name resolved and a TCP connection made
// within a deadline, and the socket set up to notice a dead link.

#include <chrono>

#include "serial/Deadline.h"
#include "serial/net/NetTarget.h"

// Keep-alive of an idle link and the limit for data the server does not
// acknowledge: a link that died (a pulled cable, a remote site gone dark)
// ends its connection within about ten seconds, idle or not.
inline constexpr std::chrono::seconds kKeepAliveIdle{5};
inline constexpr std::chrono::seconds kKeepAliveInterval{2};
inline constexpr int kKeepAliveProbes = 3;
inline constexpr std::chrono::milliseconds kUnacknowledgedLimit{10'000};

// Connects to the target's host and port, trying each address the name has
// in turn, all before the deadline. 0 with the connected socket (non-blocking,
// closed on exec, keep-alive on, no delay for small writes) in socket, or the
// error number: EHOSTUNREACH for a name that does not resolve, ETIMEDOUT when
// the deadline passed, else what the last connect said (ECONNREFUSED ...).
int ConnectToServer(const NetTarget& target, const Deadline& deadline, int& socket);

// Whether the server ended the connection (or reset it) within grace: the
// way a server that serves one user at a time turns away a second one.
// Bytes it sent stay unread.
bool ServerHungUpWithin(int socket, std::chrono::milliseconds grace);
