#pragma once
// Every message box of the panel goes through here, so that one place decides how they look
// and tests can read what was shown instead of clicking boxes away.

#include <QString>

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
inline constexpr qsizetype MessageTextLimit = 400;

// Replaces how boxes are shown; an empty handler restores the Qt message boxes.
void SetMessageBoxHandler(MessageBoxHandler handler);

void ShowProgramError(const QString& text);
void ShowStandardError(const QString& text);

// Makes the numeric fields' error display and the serial layer's exception display show
// standard error boxes through here. Exceptions of the port threads are handed to the GUI
// thread first.
void InstallMessageBoxes();
