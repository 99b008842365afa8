#pragma once
// The component's own result codes, named once for the places that return them. Their texts
// are in ErrorText.cpp and the exceptions CheckError raises for them in SioExceptions.h.

#include <cstdint>

// Codes -2 to -162 are the system's own errors, raised as EInOutError with their number.
inline constexpr int32_t kFirstSystemError = -2;
inline constexpr int32_t kLastSystemError = -162;
// The system errors of a failed device open that have codes of their own.
inline constexpr int32_t kFileNotFound = -2;
inline constexpr int32_t kPathNotFound = -3;
inline constexpr int32_t kAccessDenied = -5;
inline constexpr int32_t kOutOfMemory = -8;
inline constexpr int32_t kDeviceWriteError = -160;
inline constexpr int32_t kDeviceReadError = -161;
inline constexpr int32_t kBadArgument = -1002;
inline constexpr int32_t kBadPortId = -2001;
inline constexpr int32_t kPortAlreadyOpen = -2008;
inline constexpr int32_t kBlockNotPut = -3004;
inline constexpr int32_t kOutputTooSmall = -3006;
inline constexpr int32_t kBufferEmpty = -3007;
// A port thread could not get the memory it works with.
inline constexpr int32_t kThreadOutOfMemory = -13868;
