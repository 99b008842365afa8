#pragma once
// The buffer that a command or a poll query is written into before its bytes are sent.
// Commands and queries share it; the poll timer is paused while a command uses it.

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kCmdBufSize = 13;
using CommandBuffer = std::array<uint8_t, kCmdBufSize>;
