#pragma once
// The value types of the serial port component's properties.

#include <cstdint>
#include <initializer_list>

// The port's life phase.
enum TPortPhase : uint8_t { ppClosed = 0, ppClosing = 1, ppOpen = 2 };

// The device layer under the port; only dlWin32 (the platform's own serial
// devices) is supported.
enum TDeviceLayer : uint8_t { dlWin32 = 0, dlWinsock = 1 };

// Parity, as the device control block codes it.
enum TParity : uint8_t { pNone = 0, pOdd = 1, pEven = 2, pMark = 3, pSpace = 4 };

enum THWFlowOption : uint8_t { hwfUseDTR = 0, hwfUseRTS = 1, hwfRequireDSR = 2, hwfRequireCTS = 3 };

// A set of hardware flow options; its bits are the option bits the
// dispatcher takes (hwfUseDTR 1, hwfUseRTS 2, hwfRequireDSR 4, hwfRequireCTS 8).
class THWFlowOptionSet {
 public:
  constexpr THWFlowOptionSet() = default;
  constexpr THWFlowOptionSet(std::initializer_list<THWFlowOption> options) {
    for (const THWFlowOption option : options) bits_ |= bitOf(option);
  }

  constexpr bool Contains(THWFlowOption option) const { return (bits_ & bitOf(option)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr THWFlowOptionSet With(THWFlowOption option) const {
    THWFlowOptionSet result = *this;
    result.bits_ = static_cast<uint8_t>(bits_ | bitOf(option));
    return result;
  }
  constexpr THWFlowOptionSet Without(THWFlowOption option) const {
    THWFlowOptionSet result = *this;
    result.bits_ = static_cast<uint8_t>(bits_ & ~bitOf(option));
    return result;
  }
  constexpr uint8_t Bits() const { return bits_; }

  constexpr bool operator==(const THWFlowOptionSet&) const = default;

 private:
  static constexpr uint8_t bitOf(THWFlowOption option) {
    return static_cast<uint8_t>(1u << static_cast<unsigned>(option));
  }

  uint8_t bits_ = 0;
};

enum TSWFlowOptions : uint8_t { swfNone = 0, swfReceive = 1, swfTransmit = 2, swfBoth = 3 };

// The dispatcher's code of a software flow setting: transmit side 1, receive
// side 2 (the reverse of the enumeration's order), both 3.
constexpr uint8_t SoftwareFlowCode(TSWFlowOptions options) {
  switch (options) {
    case swfReceive:
      return 2;
    case swfTransmit:
      return 1;
    case swfBoth:
      return 3;
    case swfNone:
      break;
  }
  return 0;
}

// What the trace or the log is asked to do. While the port is open it holds
// tlOff, tlOn or tlPause; while closed tlOff or tlOn.
enum TTraceLogState : uint8_t {
  tlOff = 0,
  tlOn = 1,
  tlDump = 2,
  tlAppend = 3,
  tlClear = 4,
  tlPause = 5,
  tlAppendAndContinue = 6,
};

enum TTapiMode : uint8_t { tmNone = 0, tmAuto = 1, tmOn = 2, tmOff = 3 };
