// The serial port component's line settings: framing, queue sizes, the DTR
// and RTS lines, flow control and RS-485 mode.

#include "serial/SioCustomComPort.h"

void TSioCustomComPort::pushLine() {
  check(ActiveDispatcher->ConfigureLine(baud_, parity_, dataBits_, stopBits_));
}

void TSioCustomComPort::SetBaud(int32_t value) {
  if (value == baud_) return;
  baud_ = value;
  if (isOpen()) pushLine();
}

void TSioCustomComPort::SetParity(TParity value) {
  if (value == parity_) return;
  parity_ = value;
  if (isOpen()) pushLine();
}

void TSioCustomComPort::SetDataBits(uint16_t value) {
  if (value == dataBits_) return;
  dataBits_ = value;
  if (isOpen()) pushLine();
}

void TSioCustomComPort::SetStopBits(uint16_t value) {
  if (value == stopBits_) return;
  stopBits_ = value;
  if (isOpen()) pushLine();
}

void TSioCustomComPort::SetInSize(uint16_t value) {
  if (value == inSize_) return;
  inSize_ = value;
  // The device may refuse new sizes; the port works on with the old ones.
  if (isOpen()) ActiveDispatcher->SizeDeviceQueues(inSize_, outSize_);
}

void TSioCustomComPort::SetOutSize(uint16_t value) {
  if (value == outSize_) return;
  outSize_ = value;
  if (isOpen()) ActiveDispatcher->SizeDeviceQueues(inSize_, outSize_);
}

void TSioCustomComPort::SetDTR(bool value) {
  if (unchanged(value == dtr_)) return;
  if (isOpen()) {
    // 1: the line is under hardware flow control and keeps its state.
    if (check(ActiveDispatcher->SetDtrLine(value)) != 0) return;
  }
  dtr_ = value;
}

void TSioCustomComPort::SetRTS(bool value) {
  if (unchanged(value == rts_)) return;
  if (isOpen()) {
    if (check(ActiveDispatcher->SetRtsLine(value)) != 0) return;
  }
  rts_ = value;
}

void TSioCustomComPort::pushHardwareFlow() {
  check(ActiveDispatcher->SetHardwareFlow(bufferFull_, bufferResume_, hwFlowOptions_.Bits()));
}

void TSioCustomComPort::pushSoftwareFlow() {
  if (swFlowOptions_ == swfNone) {
    check(ActiveDispatcher->ClearSoftwareFlow());
  } else {
    check(ActiveDispatcher->SetSoftwareFlow(bufferFull_, bufferResume_,
                                            SoftwareFlowCode(swFlowOptions_)));
  }
}

void TSioCustomComPort::SetHWFlowOptions(THWFlowOptionSet value) {
  if (unchanged(value == hwFlowOptions_)) return;
  // RTS cannot both toggle for RS-485 and carry the handshake.
  if (value.Contains(hwfUseRTS) || value.Contains(hwfRequireCTS)) SetRS485Mode(false);
  if (!value.Empty()) {
    const FlowThresholds thresholds =
        DefaultFlowThresholds({bufferFull_, bufferResume_}, inSize_, FlowKind::Hardware);
    bufferFull_ = thresholds.Full;
    bufferResume_ = thresholds.Resume;
  }
  const THWFlowOptionSet previous = hwFlowOptions_;
  hwFlowOptions_ = value;
  if (!isOpen()) return;
  try {
    pushHardwareFlow();
  } catch (...) {
    hwFlowOptions_ = previous;
    throw;
  }
}

void TSioCustomComPort::SetSWFlowOptions(TSWFlowOptions value) {
  if (unchanged(value == swFlowOptions_)) return;
  if (value != swfNone) {
    const FlowThresholds thresholds =
        DefaultFlowThresholds({bufferFull_, bufferResume_}, inSize_, FlowKind::Software);
    bufferFull_ = thresholds.Full;
    bufferResume_ = thresholds.Resume;
  }
  const TSWFlowOptions previous = swFlowOptions_;
  swFlowOptions_ = value;
  if (!isOpen()) return;
  try {
    pushSoftwareFlow();
  } catch (...) {
    swFlowOptions_ = previous;
    throw;
  }
}

void TSioCustomComPort::SetXOnChar(uint8_t value) {
  if (unchanged(value == xOnChar_)) return;
  xOnChar_ = value;
  if (isOpen()) check(ActiveDispatcher->SetFlowChars(xOnChar_, xOffChar_));
}

void TSioCustomComPort::SetXOffChar(uint8_t value) {
  if (unchanged(value == xOffChar_)) return;
  xOffChar_ = value;
  if (isOpen()) check(ActiveDispatcher->SetFlowChars(xOnChar_, xOffChar_));
}

void TSioCustomComPort::reapplyFlow() {
  const bool wasForced = ForceApply;
  ForceApply = true;
  try {
    SetHWFlowOptions(hwFlowOptions_);
    SetSWFlowOptions(swFlowOptions_);
  } catch (...) {
    ForceApply = wasForced;
    throw;
  }
  ForceApply = wasForced;
}

void TSioCustomComPort::SetBufferFull(uint16_t value) {
  if (unchanged(value == bufferFull_)) return;
  bufferFull_ = value > inSize_ ? RoundedShare(inSize_, 9, 10) : value;
  reapplyFlow();
}

void TSioCustomComPort::SetBufferResume(uint16_t value) {
  if (unchanged(value == bufferResume_)) return;
  bufferResume_ = value > bufferFull_ ? RoundedShare(bufferFull_, 1, 10) : value;
  reapplyFlow();
}

void TSioCustomComPort::SetRS485Mode(bool value) {
  if (unchanged(value == rs485Mode_)) return;
  // A device that cannot carry the mode refuses it; the port stays as it was.
  if (isOpen()) check(ActiveDispatcher->SetRS485Mode(value));
  rs485Mode_ = value;
  if (!isOpen()) return;
  if (value) {
    SetHWFlowOptions(hwFlowOptions_.Without(hwfUseRTS).Without(hwfRequireCTS));
    // The line itself now toggles with transmission.
    rts_ = false;
  }
}
