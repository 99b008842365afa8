#pragma once
// Every message box of the panel goes through here, so that one place decides how they look
// and tests can read what was shown instead of clicking boxes away.

#include <QString>

#include <exception>
#include <functional>

enum class MessageBoxKind {
  // The panel's own messages (port error, rejected input, missing language file): error
  // icon, one OK button, modal.
  ProgramError,
  // An error that ended a handler or a start-up step, shown with the error's own text once
  // the event being handled is done.
  StandardError,
};

using MessageBoxHandler = std::function<void(MessageBoxKind kind, const QString& text)>;

// The most characters a box shows. A longer text (an error quoting a damaged file's line, say)
// keeps its beginning and its end, which says what went wrong, with "…" between.
inline constexpr qsizetype kMessageTextLimit = 400;

// Replaces how boxes are shown; an empty handler restores the Qt message boxes.
void SetMessageBoxHandler(MessageBoxHandler handler);

void ShowProgramError(const QString& text);
void ShowStandardError(const QString& text);

// An exception's text as a standard error box; from another thread (a port thread's
// exception) the box is handed to the GUI thread and this returns at once.
void ShowExceptionBox(const std::exception& error);

// Makes the numeric fields' error display show standard error boxes through here.
void InstallMessageBoxes();
