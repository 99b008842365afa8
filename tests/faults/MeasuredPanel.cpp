#include "tests/faults/MeasuredPanel.h"

#include <filesystem>

#include "tests/faults/ProcessMemory.h"

MeasuredPanelTest::MeasuredPanelTest() {
  StartPanel().reset();
  std::filesystem::remove(Path("QV_M.ini"));
}

std::unique_ptr<TForm1> MeasuredPanelTest::StartMeasured() {
  ResetPeakResident();
  const int64_t before = ResidentMiB();
  auto form = StartPanel();
  growthMiB = PeakResidentMiB() - before;
  return form;
}

void MeasuredPanelTest::ExpectMemoryBounded() const {
  RecordProperty("StartUpGrowthMiB", static_cast<int>(growthMiB));
  EXPECT_LT(growthMiB, kStartUpMiB) << "MiB above the resident size before the start-up";
}
