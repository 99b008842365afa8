#pragma once
// How the port asks the user for a port number when it is opened without
// one: the application installs its port-selection dialog at start-up.

#include <cstdint>
#include <functional>
#include <optional>

// Returns the chosen port number, or none when the user cancelled.
using PortPrompt = std::function<std::optional<uint16_t>()>;

// An empty prompt removes the installed one. Any thread.
void SetPortPrompt(PortPrompt prompt);

// Asks through the installed prompt; none (as if cancelled) without one.
std::optional<uint16_t> PromptForPortNumber();
