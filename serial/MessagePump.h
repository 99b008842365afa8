#pragma once
// The process-wide message pump used by waits that must keep the GUI thread
// responsive (dispatcher destruction, closing the device): each call
// processes at most one pending message of the calling thread.

#include <functional>

// The application installs its GUI toolkit's pump at start-up. The hook may
// be called from any thread and must process a message only when called on
// the GUI thread. An empty hook restores the default, a short yield.
void SetMessagePump(std::function<void()> pump);

// Processes one pending message of the calling thread, or yields briefly.
void PumpOneMessage();
