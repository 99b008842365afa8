#pragma once
// How the Exit button ends the program: at once, without asking the window to close. The
// window is still destroyed on the way out, so it saves its settings.

#include <functional>

// Replaces the ending (tests keep their process); an empty hook restores the default, which
// leaves the application's event loop so that main destroys the window and returns.
void SetProcessEnd(std::function<void()> hook);

void EndProcess();
