// The serial port component's line settings on an open port over the fake
// platform: what reaches the device and when it is left alone.

#include <gtest/gtest.h>

#include <vector>

#include "serial/CommCodes.h"
#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "tests/serial/support/ComPortGui.h"

namespace {

class ComPortLine : public ::testing::Test {
 protected:
  void SetUp() override {
    port->SetComNumber(1);
    port->SetBaud(9600);
    port->SetDispatcherFactory(fakes.Factory());
  }

  void TearDown() override {
    gui.Run([&] { port.reset(); });
  }

  void Open() {
    gui.Run([&] { port->SetOpen(true); });
    fakes.Latest().ForgetHistory();
  }

  FakePorts fakes;
  ComPortGui gui;
  std::unique_ptr<TSioComPort> port = std::make_unique<TSioComPort>();
};

TEST_F(ComPortLine, FramingTheDeviceAlreadyHasDoesNotTouchIt) {
  Open();
  FakePlatform& fake = fakes.Latest();
  Dcb line = fake.DeviceLine();
  line.BaudRate = 4800;
  fake.SetDeviceLine(line);
  gui.Run([&] { port->SetBaud(4800); });
  EXPECT_TRUE(fake.AppliedLines().empty());
  gui.Run([&] { port->SetBaud(9600); });
  EXPECT_EQ(fake.AppliedLines().size(), 1u);
  EXPECT_EQ(fake.DeviceLine().BaudRate, 9600u);
}

TEST_F(ComPortLine, NewFramingReachesTheDevice) {
  Open();
  gui.Run([&] {
    port->SetBaud(115200);
    port->SetParity(pEven);
    port->SetDataBits(7);
    port->SetStopBits(2);
  });
  const Dcb line = fakes.Latest().DeviceLine();
  EXPECT_EQ(line.BaudRate, 115200u);
  EXPECT_EQ(line.Parity, kEvenParity);
  EXPECT_EQ(line.ByteSize, 7);
  EXPECT_EQ(line.StopBits, kTwoStopBits);
  EXPECT_EQ(fakes.Latest().AppliedLines().size(), 4u);
}

TEST_F(ComPortLine, ARefusedSettingRaises) {
  Open();
  fakes.Latest().SetApplyResult(-22);
  EXPECT_THROW(gui.Run([&] { port->SetBaud(1234567); }), EInOutError);
}

TEST_F(ComPortLine, DtrUnderHardwareFlowControlKeepsItsState) {
  port->SetHWFlowOptions({hwfUseDTR});
  Open();
  gui.Run([&] {
    port->SetDTR(false);
    EXPECT_TRUE(port->DTR());
    port->SetRTS(false);
    EXPECT_FALSE(port->RTS());
  });
  EXPECT_EQ(fakes.Latest().Escapes(), std::vector<int32_t>{kEscapeClrRts});
  EXPECT_EQ(fakes.Latest().DeviceLine().Flags & kDcbDtrControlMask, kDtrControlHandshake);
}

TEST_F(ComPortLine, FlowControlReachesTheDeviceWithDefaultedThresholds) {
  Open();
  gui.Run([&] { port->SetHWFlowOptions({hwfUseRTS, hwfRequireCTS}); });
  Dcb line = fakes.Latest().DeviceLine();
  EXPECT_EQ(line.Flags & kDcbRtsControlMask, kRtsControlHandshake);
  EXPECT_NE(line.Flags & kDcbOutxCtsFlow, 0u);
  EXPECT_EQ(line.XoffLim, 4096 - 3686);
  EXPECT_EQ(line.XonLim, 410);
  gui.Run([&] {
    port->SetHWFlowOptions({});
    port->SetSWFlowOptions(swfReceive);
    port->SetXOnChar('Q');
  });
  line = fakes.Latest().DeviceLine();
  EXPECT_EQ(line.Flags & (kDcbInX | kDcbOutX), kDcbInX);
  EXPECT_EQ(line.Flags & kDcbRtsControlMask, kRtsControlEnable);
  EXPECT_EQ(line.XonChar, 'Q');
  gui.Run([&] { port->SetSWFlowOptions(swfNone); });
  EXPECT_EQ(fakes.Latest().DeviceLine().Flags & (kDcbInX | kDcbOutX), 0u);
}

TEST_F(ComPortLine, Rs485ModeTakesRtsAwayFromTheHandshake) {
  port->SetHWFlowOptions({hwfUseDTR, hwfUseRTS, hwfRequireCTS});
  Open();
  gui.Run([&] {
    port->SetRS485Mode(true);
    EXPECT_EQ(port->HWFlowOptions(), THWFlowOptionSet({hwfUseDTR}));
    EXPECT_TRUE(port->Dispatcher()->RS485Mode());
    EXPECT_FALSE(port->RTS());
    port->SetHWFlowOptions({hwfUseDTR, hwfRequireCTS});
    EXPECT_FALSE(port->RS485Mode());
    EXPECT_FALSE(port->Dispatcher()->RS485Mode());
  });
}

TEST_F(ComPortLine, ThresholdChangesApplyBothFlowSettingsAgain) {
  port->SetHWFlowOptions({hwfUseRTS});
  Open();
  gui.Run([&] { port->SetBufferFull(2000); });
  EXPECT_EQ(fakes.Latest().DeviceLine().XoffLim, 4096 - 2000);
  gui.Run([&] { port->SetBufferResume(3000); });
  EXPECT_EQ(fakes.Latest().DeviceLine().XonLim, 200);
}

}  // namespace
