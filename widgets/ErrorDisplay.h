#pragma once
// How an error that ends an event handler reaches the user. Qt does not let
// exceptions travel through its event loop, so handlers catch them and hand
// the message here; the application may put its own display in place.

#include <functional>
#include <string>

using ErrorDisplay = std::function<void(const std::string& message)>;

// Sets the process-wide display. An empty one restores the default, which shows
// the message in a critical message box titled with the application's display
// name, once the event being handled is done (not inside the handler, where a
// modal box would run a nested event loop in the middle of a focus change).
void SetErrorDisplay(ErrorDisplay display);

// Hands the message to the display at once.
void ShowError(const std::string& message);

// Runs handler; an exception escaping it ends only the handler and is shown
// with ShowError (its what(), or "Unknown error" for one that is no
// std::exception).
void RunReportingErrors(const std::function<void()>& handler);
