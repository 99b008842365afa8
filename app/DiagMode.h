#pragma once
// The diagnostic build (configured with AZIMARA_DIAG=ON): red window, the echo memo shown, and
// every accepted position written to the position log.

#ifdef AZIMARA_DIAG
inline constexpr bool DiagMode = true;
#else
inline constexpr bool DiagMode = false;
#endif
