// Line settings and line status over a fake device.

#include <gtest/gtest.h>

#include "serial/CommCodes.h"
#include "serial/DispatcherLineState.h"
#include "tests/serial/support/OpenFakePortTest.h"

namespace {

using std::chrono::milliseconds;

class LineSettings : public OpenFakePortTest {
 protected:
  LineSettings() : OpenFakePortTest(0) {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(OpenFakePortTest::SetUp());
    port->ForgetHistory();
    port->SetSleeper([this](milliseconds pause) {
      sleeps.push_back(pause);
      // The write thread sends what is queued while the dispatcher waits.
      port->TakeOutput();
    });
  }

  std::vector<milliseconds> sleeps;
};

TEST(DrainPause, EighteenCharacterTimesAtTheOldRate) {
  struct Row {
    uint32_t baud;
    uint8_t byteSize, parity, stopBits;
    uint32_t ms;
  } const rows[] = {
      {9600, 8, kNoParity, kOneStopBit, 19},  {115200, 8, kNoParity, kOneStopBit, 2},
      {0, 8, kNoParity, kOneStopBit, 2},      {9600, 7, kEvenParity, kTwoStopBits, 21},
      {1200, 8, kNoParity, kOneStopBit, 150},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DrainPauseMs(row.byteSize, row.parity, row.stopBits, row.baud), row.ms) << row.baud;
  }
}

TEST_F(LineSettings, TheDevicesOwnValuesWriteNothingAndDoNotWait) {
  EXPECT_EQ(port->ConfigureLine(9600, kNoParity, 8, 1), 0);
  EXPECT_EQ(port->ConfigureLine(0, 5, 9, 3), 0);
  EXPECT_TRUE(port->AppliedLines().empty());
  EXPECT_TRUE(sleeps.empty());
}

TEST_F(LineSettings, AChangeDrainsTheOutputThenPausesAtTheOldRateThenWrites) {
  const std::vector<uint8_t> bytes(10, 0x41);
  ASSERT_EQ(port->WriteBlock(bytes.data(), 10), 0);
  const Dcb before = port->DeviceLine();
  ASSERT_EQ(port->ConfigureLine(19200, kEvenParity, 7, 2), 0);
  const milliseconds pause(DrainPauseMs(before.ByteSize, before.Parity, before.StopBits, 9600));
  EXPECT_EQ(sleeps, (std::vector<milliseconds>{milliseconds(2), pause}));
  ASSERT_EQ(port->AppliedLines().size(), 1u);
  const Dcb line = port->DeviceLine();
  EXPECT_EQ(line.BaudRate, 19200u);
  EXPECT_EQ(line.Parity, kEvenParity);
  EXPECT_EQ(line.ByteSize, 7);
  EXPECT_EQ(line.StopBits, kTwoStopBits);
  EXPECT_EQ(line.Flags & (kDcbBinary | kDcbTxContinueOnXoff), kDcbBinary | kDcbTxContinueOnXoff);
  EXPECT_EQ(line.Flags & kDcbDtrControlMask, kDtrControlEnable);
  EXPECT_EQ(line.Flags & kDcbRtsControlMask, kRtsControlEnable);
}

TEST_F(LineSettings, StopAndDataBitsMapToTheDeviceCodes) {
  struct Row {
    uint16_t dataBits, stopBits;
    uint8_t byteSize, stopCode;
  } const rows[] = {
      {8, 0, 8, kOneStopBit}, {8, 4, 8, kTwoStopBits},  {8, 2, 8, kTwoStopBits},
      {8, 1, 8, kOneStopBit}, {5, 1, 5, kOne5StopBits}, {5, 2, 5, kOne5StopBits},
      {6, 1, 6, kOneStopBit}, {7, 3, 7, kOneStopBit},
  };
  for (const Row& row : rows) {
    ASSERT_EQ(port->ConfigureLine(0, 5, row.dataBits, row.stopBits), 0);
    const Dcb line = port->DeviceLine();
    EXPECT_EQ(line.ByteSize, row.byteSize) << row.dataBits << "/" << row.stopBits;
    EXPECT_EQ(line.StopBits, row.stopCode) << row.dataBits << "/" << row.stopBits;
  }
}

TEST_F(LineSettings, ParityBitsAndSensitivityAreClearedAndARefusalIsReturnedAndNotKept) {
  Dcb odd = port->DeviceLine();
  odd.Flags |= kDcbParity | kDcbDsrSensitivity | kDcbNull;
  port->SetDeviceLine(odd);
  port->SetApplyResult(-22);
  EXPECT_EQ(port->ConfigureLine(4800, kNoParity, 8, 1), -22);
  ASSERT_EQ(port->AppliedLines().size(), 1u);
  const Dcb refused = port->AppliedLines().back();
  EXPECT_EQ(refused.BaudRate, 4800u);
  EXPECT_EQ(refused.Flags & (kDcbParity | kDcbDsrSensitivity | kDcbNull), 0u);
  // The settings after a refusal start from what the device took, not from
  // what it would not.
  EXPECT_EQ(port->LineSettings().BaudRate, 9600u);
  port->SetApplyResult(0);
  EXPECT_EQ(port->SetFlowChars('A', 'B'), 0);
  EXPECT_EQ(port->DeviceLine().BaudRate, 9600u);
}

TEST_F(LineSettings, ARefusedHandshakeLeavesTheLinesAsTheyWere) {
  port->SetApplyResult(-22);
  EXPECT_EQ(port->SetHardwareFlow(3686, 410, 1 | 2), -22);
  port->SetApplyResult(0);
  EXPECT_EQ(port->SetDtrLine(false), 0) << "DTR is not under a handshake";
  EXPECT_EQ(port->SetRtsLine(false), 0) << "RTS is not under a handshake";
  EXPECT_EQ(port->SetRS485Mode(true), 0);
  EXPECT_TRUE(port->RS485Mode());
  port->SetApplyResult(-22);
  EXPECT_EQ(port->SetRS485Mode(false), -22);
  EXPECT_TRUE(port->RS485Mode()) << "a refused switch leaves the mode as it was";
  EXPECT_EQ(port->DeviceLine().Flags & kDcbRtsControlMask, kRtsControlToggle);
}

TEST_F(LineSettings, DtrAndRtsGoThroughLineEscapes) {
  EXPECT_EQ(port->SetDtrLine(false), 0);
  EXPECT_EQ(port->SetRtsLine(true), 0);
  EXPECT_EQ(port->Escapes(), (std::vector<int32_t>{kEscapeClrDtr, kEscapeSetRts}));
  EXPECT_FALSE(port->DtrState());
  port->SetEscapeResult(-1);
  EXPECT_EQ(port->SetDtrLine(true), -1002);
}

TEST_F(LineSettings, ALineUnderHandshakeIsNotSetDirectly) {
  ASSERT_EQ(port->SetHardwareFlow(3686, 410, 1 | 2 | 4 | 8), 0);
  const Dcb line = port->DeviceLine();
  EXPECT_EQ(line.Flags & kDcbDtrControlMask, kDtrControlHandshake);
  EXPECT_EQ(line.Flags & kDcbRtsControlMask, kRtsControlHandshake);
  EXPECT_EQ(line.Flags & (kDcbOutxDsrFlow | kDcbOutxCtsFlow), kDcbOutxDsrFlow | kDcbOutxCtsFlow);
  EXPECT_EQ(line.XoffLim, port->InputSize() - 3686);
  EXPECT_EQ(line.XonLim, 410);
  port->ForgetHistory();
  const bool dtrBefore = port->DtrState();
  EXPECT_EQ(port->SetDtrLine(!dtrBefore), 1);
  EXPECT_EQ(port->SetRtsLine(false), 1);
  EXPECT_EQ(port->DtrState(), dtrBefore);
  EXPECT_TRUE(port->Escapes().empty());
}

TEST_F(LineSettings, FlowThresholdsOutOfRangeAreBadArguments) {
  const uint16_t tooFull = static_cast<uint16_t>(port->InputSize() + 1);
  EXPECT_EQ(port->SetHardwareFlow(100, 200, 0), -1002);
  EXPECT_EQ(port->SetHardwareFlow(tooFull, 10, 0), -1002);
  EXPECT_EQ(port->SetSoftwareFlow(100, 200, 3), -1002);
  EXPECT_TRUE(port->AppliedLines().empty());
}

TEST_F(LineSettings, SoftwareFlowSetsBothSidesAndTheFlowCharacters) {
  ASSERT_EQ(port->SetSoftwareFlow(3072, 1024, 3), 0);
  Dcb line = port->DeviceLine();
  EXPECT_EQ(line.Flags & (kDcbInX | kDcbOutX), kDcbInX | kDcbOutX);
  EXPECT_EQ(line.XonChar, 17);
  EXPECT_EQ(line.XoffChar, 19);
  EXPECT_EQ(line.XoffLim, port->InputSize() - 3072);
  ASSERT_EQ(port->SetFlowChars(0x11, 0x13), 0);
  ASSERT_EQ(port->ClearSoftwareFlow(), 0);
  line = port->DeviceLine();
  EXPECT_EQ(line.Flags & (kDcbInX | kDcbOutX), 0u);
}

TEST_F(LineSettings, LineErrorsGiveTheirCodeAndLeaveTheBreakForItsReader) {
  struct Row {
    int32_t errors;
    uint16_t code;
    bool lineBreak;
  } const rows[] = {
      {0x04 | 0x10, 3, true}, {0x01 | 0x08, 1, false}, {0x02, 2, false},
      {0x08, 4, false},       {0x10, 9, true},         {0x00, 0, false},
  };
  for (const Row& row : rows) {
    port->SetLineErrors(row.errors);
    port->RefreshLineErrors();
    EXPECT_EQ(port->TakeLineError(), row.code) << row.errors;
    EXPECT_EQ(port->TakeLineBreak(), row.lineBreak) << row.errors;
    EXPECT_FALSE(port->TakeLineBreak());
    EXPECT_EQ(port->TakeLineError(), 0) << row.errors;
  }
}

TEST_F(LineSettings, LineEventsUpdateTheModemStatusWithChangeBitsAndTheRing) {
  const uint8_t lines = kModemCts | kModemCarrier;
  port->SetModemLines(lines);
  port->FeedStatus(kEvCts | kEvRlsd);
  const uint8_t withChanges = static_cast<uint8_t>(lines | (lines >> 4));
  ASSERT_TRUE(WaitUntil([&] { return port->ModemStatus() == withChanges; }));
  port->FeedStatus(kEvRing);
  ASSERT_TRUE(WaitUntil([&] { return (port->ModemStatus() & kModemRingTrailingEdge) != 0; }));
  EXPECT_EQ(port->ReadModemStatus(0xF0) & 0xF0, lines);
}

}  // namespace
