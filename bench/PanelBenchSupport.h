#pragma once
// What the benchmarks of the whole panel share: its start-up directory and the application
// they run it in, on the offscreen platform, with message boxes going to the error output.

#include <functional>
#include <string>

#include "tests/support/TemporaryDirectory.h"

// The start-up directory: pictures, language file, settings for two axes on COM1 at the poll
// rate given.
void PrepareStartDirectory(const TemporaryDirectory& directory, const std::string& pollRate);

// Runs measure inside a QApplication set up as the program sets up its own; its result.
int RunInPanelApplication(char* program, const std::function<int()>& measure);
