// Line errors from rising error counters.

#include <gtest/gtest.h>

#include <cerrno>

#include "serial/CommCodes.h"
#include "serial/LineErrorCounters.h"

namespace {

struct FakeCounters {
  LineCounts counts;
  int error = 0;
  int reads = 0;
  LineCountSource Source() {
    return [this](int, LineCounts& out) {
      ++reads;
      out = counts;
      return error;
    };
  }
};

TEST(LineErrorCounters, EachRisenCounterSetsItsBitOnceAndTakeClearsThem) {
  FakeCounters device;
  device.counts.Parity = 4;  // from before the port opened
  LineErrorCounters counters(device.Source());
  counters.Start(3);
  uint32_t fresh = 0;
  EXPECT_EQ(counters.Poll(3, fresh), 0);
  EXPECT_EQ(fresh, 0u);

  struct Row {
    uint32_t LineCounts::*counter;
    uint32_t bit;
  } const rows[] = {{&LineCounts::Overrun, kLineErrorOverrun},
                    {&LineCounts::Parity, kLineErrorParity},
                    {&LineCounts::Framing, kLineErrorFraming},
                    {&LineCounts::Break, kLineErrorBreak},
                    {&LineCounts::BufferOverrun, kLineErrorRxOverflow}};
  for (const Row& row : rows) {
    device.counts.*row.counter += 2;
    EXPECT_EQ(counters.Poll(3, fresh), 0);
    EXPECT_EQ(fresh, row.bit);
    EXPECT_EQ(counters.Poll(3, fresh), 0);
    EXPECT_EQ(fresh, 0u);
  }
  EXPECT_EQ(counters.Take(3), 0x1Fu);
  EXPECT_EQ(counters.Take(3), 0u);
}

TEST(LineErrorCounters, ADeviceWithoutCountersIsAskedOnceAndReportsNothing) {
  FakeCounters device;
  device.error = ENOTTY;
  LineErrorCounters counters(device.Source());
  counters.Start(3);
  EXPECT_FALSE(counters.Kept());
  uint32_t fresh = 7;
  EXPECT_EQ(counters.Poll(3, fresh), 0);
  EXPECT_EQ(fresh, 0u);
  EXPECT_EQ(counters.Take(3), 0u);
  EXPECT_EQ(device.reads, 1);
}

TEST(LineErrorCounters, AFailingDeviceSaysSoAndKeepsWhatWasGathered) {
  FakeCounters device;
  LineErrorCounters counters(device.Source());
  counters.Start(3);
  device.counts.Framing = 1;
  uint32_t fresh = 0;
  ASSERT_EQ(counters.Poll(3, fresh), 0);
  device.error = EIO;
  EXPECT_EQ(counters.Poll(3, fresh), EIO);
  EXPECT_EQ(fresh, 0u);
  EXPECT_TRUE(counters.Kept());
  EXPECT_EQ(counters.Take(3), kLineErrorFraming);
}

}  // namespace
