#pragma once
// A test over the fake platform opened as the component opens a port, its notices going to a
// stand-in GUI loop. The port goes at the end of each test, while the loop still runs.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "tests/serial/support/OpenPort.h"

class OpenFakePortTest : public ::testing::Test {
 protected:
  // The data-available threshold the port opens with; 0 keeps it from announcing data.
  explicit OpenFakePortTest(uint32_t availThreshold = 1) : availThreshold_(availThreshold) {}

  void SetUp() override {
    gui = std::make_shared<TestGuiLoop>();
    port = std::make_unique<FakePlatform>();
    ASSERT_EQ(OpenLikeComponent(*port, gui, availThreshold_), 0);
  }
  void TearDown() override { port.reset(); }

  std::shared_ptr<TestGuiLoop> gui;
  std::unique_ptr<FakePlatform> port;

 private:
  uint32_t availThreshold_;
};
