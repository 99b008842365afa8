#pragma once
// Hands the bytes of a command or poll query to the port, one at a time, re-checking the port
// before every byte as the port may close in between.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "protocol/CommandBuffer.h"

using PortCheck = std::function<bool()>;
using ByteSender = std::function<void(uint8_t)>;

// Sends positions 0 to n-1 of CmdBuf: each byte with sendChar when isOpen() is true at that
// moment, skipped otherwise. An error raised by sendChar ends the command at that byte and
// propagates, so the operator sees it.
void SendCommandBytes(const CommandBuffer& CmdBuf, size_t n, const PortCheck& isOpen,
                      const ByteSender& sendChar);

// Sends positions 0 to n-1 of CmdBuf as a poll query: each byte with sendChar when mayPoll()
// (port open and RTS wanted) is true at that moment, skipped otherwise. An error raised by
// sendChar ends the query silently: the next tick simply asks again.
void SendPollBytes(const CommandBuffer& CmdBuf, size_t n, const PortCheck& mayPoll,
                   const ByteSender& sendChar);
