#pragma once
// Opening a port the way the serial component opens a real one:
// 9600 8N1 with DTR and RTS raised, notices to the given loop, the
// component's handler installed and the data-available threshold set.

#include <memory>
#include <string>

#include "serial/SioBaseDispatcher.h"
#include "tests/serial/support/FakePlatform.h"
#include "tests/serial/support/TestGuiLoop.h"

// The InitDevice result.
int32_t OpenLikeComponent(TSioBaseDispatcher& port, const std::shared_ptr<TestGuiLoop>& gui,
                          uint32_t availThreshold = 1, const std::string& name = "fake");
