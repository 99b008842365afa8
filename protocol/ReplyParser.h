#pragma once
// Reads the controller's replies from the port and recognises position reports.
//
// A report is read by byte position after at most one leading CR has been dropped:
//   0..1 "AZ", 3..5 the three digits of axis 1, 8..9 "EL", 11..13 the three digits of axis 2
// which is the GS-232B answer to "C2": "AZ=aaa  EL=eee" CR.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Reads the next waiting byte from the port; may raise.
using ByteReader = std::function<uint8_t()>;

// What one data-available notice brought.
struct ReplyOutcome {
  // False when too few bytes waited: nothing was read and nothing is to be echoed.
  bool Read = false;
  // The decimal value of every byte read, each followed by one blank.
  std::string EchoLine;
  // True when the bytes held a position report and Position1 (and perhaps Position2) changed.
  bool ReportAccepted = false;
  // The positions after this notice, degrees; unchanged unless accepted.
  int32_t Position1 = 0;
  int32_t Position2 = 0;
  // False until a report held axis 2: Position2 is then no position the controller sent.
  bool Position2Read = false;
  // The position read-outs for axis 1 and axis 2 (UTF-8, e.g. "123°").
  std::string ReadOut1Text;
  std::string ReadOut2Text;
};

// The reply state of the main window: the receive buffer and the last accepted positions.
class ReplyParser {
 public:
  static constexpr size_t kRxBufSize = 29;
  // A notice with fewer waiting bytes is left alone: a full "C2" reply has 16 bytes, and
  // leaving the bytes waiting lets a reply that arrives in pieces be read whole later.
  static constexpr uint16_t kMinimumCount = 16;
  // Where a report's parts stand once a leading CR was dropped.
  static constexpr uint8_t kCarriageReturn = 13;
  static constexpr size_t kAxis1Digits = 3;
  static constexpr size_t kAxis2Label = 8;
  static constexpr size_t kAxis2Digits = 11;

  // Handles one data-available notice with Count bytes waiting. With Count of 16 or more it
  // reads all Count bytes through ReadChar (bytes beyond the 29th are read and echoed but not
  // kept), drops one leading CR and parses a report starting with "AZ".
  //
  // A report is accepted only when axis 1's three digit positions hold exactly three decimal
  // digits (the bytes just before and after are no digits); otherwise it is not a report.
  // Axis 2's group is taken under the same condition and only behind its label "EL" (a reply
  // without axis 2 may be followed by the next reply, whose azimuth would stand there); when
  // it fails, Position2 keeps its value. So the read-outs never show a number the controller
  // did not send for their axis.
  //
  // Errors raised by ReadChar propagate; the positions then keep their values.
  ReplyOutcome TriggerAvail(uint16_t Count, const ByteReader& ReadChar);

  // Never cleared: each read overwrites it from position 0 on, later positions keep older
  // bytes.
  const std::array<uint8_t, kRxBufSize>& RxBuf() const { return rxBuf_; }
  int32_t Position1() const { return position1_; }
  int32_t Position2() const { return position2_; }
  // Whether any report held axis 2.
  bool Position2Read() const { return position2Read_; }

 private:
  std::array<uint8_t, kRxBufSize> rxBuf_{};
  int32_t position1_ = 0;
  int32_t position2_ = 0;
  bool position2Read_ = false;
};

// A position followed by the degree sign, as the read-out labels show it ("123°", UTF-8).
std::string PositionLabelText(int32_t position);
