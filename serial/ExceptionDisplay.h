#pragma once
// The process-wide display for exceptions that end a port thread's work or
// that no caller can receive: the runtime's exception display.

#include <exception>
#include <functional>

// The application installs its message-box display at start-up; an empty
// hook restores the default, which writes the message to standard error.
// The hook may be called from any thread.
void SetExceptionDisplay(std::function<void(const std::exception&)> display);

void ShowException(const std::exception& error);

// Shows the exception being handled; call only inside a catch block.
void ShowCurrentException();
