#pragma once
// The communications status record in the Win32 layout: hold reasons and the
// byte counts of the device queues.

#include <cstdint>

struct ComStat {
  uint32_t Flags = 0;     // kComStat... bits below
  uint32_t cbInQue = 0;   // bytes received and not yet read
  uint32_t cbOutQue = 0;  // bytes queued and not yet sent
};
static_assert(sizeof(ComStat) == 12, "ComStat must keep the Win32 layout");

constexpr uint32_t kComStatCtsHold = 0x01;
constexpr uint32_t kComStatDsrHold = 0x02;
constexpr uint32_t kComStatRlsdHold = 0x04;
constexpr uint32_t kComStatXoffHold = 0x08;
constexpr uint32_t kComStatXoffSent = 0x10;
constexpr uint32_t kComStatEof = 0x20;
constexpr uint32_t kComStatTxim = 0x40;
