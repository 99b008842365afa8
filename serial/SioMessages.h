#pragma once
// The notices the dispatcher sends to a notify target. wParam and lParam as
// listed; the high 16 bits of lParam always carry the dispatcher's registry
// handle.

#include <cstdint>

constexpr uint32_t TRG_AVAIL = 0x7E01;     // wParam unread byte count; lParam low 0
constexpr uint32_t TRG_DATA = 0x7E02;      // wParam trigger handle; lParam low matched length
constexpr uint32_t TRG_TIMER = 0x7E03;     // wParam trigger handle; lParam low 0
constexpr uint32_t TRG_STATUS = 0x7E04;    // wParam trigger handle; lParam low condition value
constexpr uint32_t PORT_CLOSING = 0x7E0A;  // wParam 0; lParam handle << 16
// Posted once when the port threads ended because the device went away.
constexpr uint32_t PORT_LOST = 0x7E0B;  // wParam 0; lParam handle << 16

// lParam of a notice from the dispatcher with this registry handle.
constexpr intptr_t NoticeLParam(int32_t registryHandle, uint16_t low) {
  return static_cast<intptr_t>(registryHandle) * 65536 + low;
}

// The registry handle carried by a notice's lParam.
constexpr int32_t NoticeHandle(intptr_t lParam) {
  return static_cast<int32_t>((static_cast<uintptr_t>(lParam) >> 16) & 0xFFFF);
}
