#pragma once
// The application's standard error display: a critical message box with the
// exception's text, on the GUI thread. Called from another thread it queues
// the box for the GUI thread and returns at once.

#include <exception>

void ShowExceptionBox(const std::exception& error);
