// The byte trace and the event log with their dump files.

#include <gtest/gtest.h>

#include <string>

#include "serial/OsDescription.h"
#include "tests/serial/support/OpenFakePortTest.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

class TraceLog : public OpenFakePortTest {
 protected:
  TraceLog() : OpenFakePortTest(0) {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(OpenFakePortTest::SetUp());
    port->SetPortName("\\\\.\\COM7");
  }

  TemporaryDirectory dir;
};

TEST_F(TraceLog, TheTraceRecordsBothDirectionsAndKeepsTheNewestEntries) {
  EXPECT_EQ(port->InitTracing(4000001), -1002);
  ASSERT_EQ(port->InitTracing(3), 0);
  const uint8_t sent[] = {'A', 'B'};
  ASSERT_EQ(port->WriteBlock(sent, 2), 0);
  port->Feed({'x', 'y'});
  ASSERT_TRUE(WaitUntil([&] { return port->UnreadCount() == 2; }));
  uint8_t ch = 0;
  ASSERT_EQ(port->ReadByte(ch), 0);
  ASSERT_EQ(port->ReadByte(ch), 0);
  EXPECT_EQ(port->TraceEntries(), (std::vector<uint8_t>{'T', 'B', 'R', 'x', 'R', 'y'}));
}

TEST_F(TraceLog, ATraceDumpWritesOneLinePerEntryAppendsOnRequestAndEmpties) {
  ASSERT_EQ(port->InitTracing(100), 0);
  const uint8_t sent[] = {'A', 0x0D};
  ASSERT_EQ(port->WriteBlock(sent, 2), 0);
  const std::string file = dir.Path("SIO.TRC");
  ASSERT_EQ(port->DumpTracing(file, false, true, false), 0);
  EXPECT_EQ(ReadBytes(file), "T A\r\nT 0D\r\n");
  EXPECT_TRUE(port->TraceEntries().empty());
  EXPECT_EQ(port->DumpTracing(file, true, true, false), 0);
  EXPECT_EQ(ReadBytes(file), "T A\r\nT 0D\r\n");
  ASSERT_EQ(port->WriteByte('B'), 0);
  ASSERT_EQ(port->DumpTracing(file, true, false, true), 0);
  EXPECT_EQ(ReadBytes(file), "T A\r\nT 0D\r\nT 42\r\n");
}

TEST_F(TraceLog, AFailedDumpGivesMinusTheErrorAndStopsTheTrace) {
  ASSERT_EQ(port->InitTracing(10), 0);
  ASSERT_EQ(port->WriteByte('A'), 0);
  EXPECT_EQ(port->DumpTracing(dir.Path("missing/SIO.TRC"), false, true, false), -2);
  EXPECT_FALSE(port->TracingActive());
}

TEST_F(TraceLog, TheLogDumpCarriesThePortAndTheSystemAndItsRecords) {
  port->InitLogging(0);
  const uint8_t sent[] = {'G', 'O'};
  ASSERT_EQ(port->WriteBlock(sent, 2), 0);
  port->SetAvailThreshold(4);
  const std::string file = dir.Path("SIO.LOG");
  ASSERT_EQ(port->DumpLogging(file, false, false, false), 0);
  const std::string text = ReadBytes(file);
  EXPECT_EQ(text.rfind("Port \\\\.\\COM7\r\nSystem " + OsDescription() + "\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("Transmitted 0 2 : GO\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Threshold 0 4\r\n"), std::string::npos) << text;
}

TEST_F(TraceLog, TheLogDropsItsOldestRecordsBeyondTheLimit) {
  port->InitLogging(4);
  const uint8_t bytes[] = {1, 2, 3};
  for (int i = 0; i < 5; ++i) ASSERT_EQ(port->WriteBlock(bytes, 3), 0);
  const std::string file = dir.Path("SIO.LOG");
  ASSERT_EQ(port->DumpLogging(file, false, false, true), 0);
  const std::string text = ReadBytes(file);
  size_t records = 0;
  for (size_t at = text.find("Transmitted"); at != std::string::npos;
       at = text.find("Transmitted", at + 1)) {
    ++records;
  }
  EXPECT_EQ(records, 2u) << text;
}

}  // namespace
