#pragma once
// The pauses that block the GUI thread on purpose: before GO and STOP commands, so the
// controller can finish answering the last poll, and before the process ends after Exit.

#include <chrono>
#include <functional>

using PauseHook = std::function<void(std::chrono::milliseconds)>;

// Replaces how the pause is taken (tests record it); an empty hook restores the default,
// sleeping the calling thread for the whole time.
void SetBlockingPause(PauseHook hook);

// Blocks the calling thread for duration. No event is handled meanwhile.
void BlockingPause(std::chrono::milliseconds duration);
