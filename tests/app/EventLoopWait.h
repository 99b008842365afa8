#pragma once
// Waiting as the program runs: a real event loop handles the port's notices and the server's
// connections as they come, while a condition is looked at every few milliseconds.
// QTest::qWaitFor would sleep between its passes and leave them waiting meanwhile.

#include <chrono>
#include <functional>

#include "tests/tools/TestPatience.h"

// Runs the GUI thread's event loop until condition holds, looking at it first and then every
// look; false once patience passed without it.
bool RunEventsUntil(const std::function<bool()>& condition,
                    std::chrono::milliseconds patience = kPatience,
                    std::chrono::milliseconds look = std::chrono::milliseconds(1));
