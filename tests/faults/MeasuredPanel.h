#pragma once
// A panel whose start-up is measured: how far it raised the process's resident size.

#include <cstdint>
#include <memory>

#include "tests/app/PanelFixture.h"

class MeasuredPanelTest : public PanelTest {
 protected:
  // What a start-up may take beyond the resident size before it, MiB: far below the sizes of
  // the files the tests give it.
  static constexpr int64_t kStartUpMiB = 32;

  // Runs one start-up first, so that what Qt sets up once per process is not counted later.
  MeasuredPanelTest();

  // StartPanel, noting the highest resident size meanwhile.
  std::unique_ptr<TForm1> StartMeasured();
  void ExpectMemoryBounded() const;

  int64_t growthMiB = 0;
};
