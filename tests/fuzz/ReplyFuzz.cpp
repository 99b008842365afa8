// The reply handler on any byte stream the port may deliver, in any pieces: bytes arrive, then
// the data-available notice tells how many wait, as the port does. The read-outs and the dial
// pointers may only ever show a position whose three digits the controller sent in the reply
// that was accepted, and a notice whose reading fails keeps what was shown.
//
// Input: one byte choosing the axis configuration, then pieces: a header byte (low six bits:
// how many bytes arrive; bit 6: the notice counts one byte more than waits, so reading fails)
// followed by the bytes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "display/DialGeometry.h"
#include "display/HandTip.h"
#include "protocol/ReplyParser.h"

namespace {

constexpr uint8_t kLengthBits = 0x3F;
constexpr uint8_t kShortBit = 0x40;

struct PortEmpty {};

std::string threeDigits(int32_t position) {
  std::string digits = std::to_string(position);
  return std::string(3 - std::min<size_t>(3, digits.size()), '0') + digits;
}

// The reply's bytes as the handler parses them: one leading CR dropped.
bool sentAt(const std::string& bytes, size_t first, int32_t position) {
  const size_t skip =
      !bytes.empty() && static_cast<uint8_t>(bytes[0]) == ReplyParser::kCarriageReturn;
  return position >= 0 && position <= 999 && bytes.substr(first + skip, 3) == threeDigits(position);
}

std::string echoOf(const std::string& bytes) {
  std::string line;
  for (const char c : bytes) line += std::to_string(static_cast<uint8_t>(c)) + " ";
  return line;
}

void checkPointer(int32_t position, DialKind kind) {
  const DialPoint tip = HandTip(kDialCentreOffset, kDialCentreOffset, position, kind);
  const double length = std::hypot(tip.X - kDialCentreOffset, tip.Y - kDialCentreOffset);
  Check(std::abs(length - kHandRadius) <= 1.0, "the hand reaches the ring from the dial centre");
}

void checkShown(const ReplyOutcome& outcome, int32_t axisConfig) {
  Check(outcome.ReadOut1Text == std::to_string(outcome.Position1) + "\xC2\xB0",
        "axis 1's read-out shows its position in degrees");
  Check(outcome.ReadOut2Text == std::to_string(outcome.Position2) + "\xC2\xB0",
        "axis 2's read-out shows its position in degrees");
  checkPointer(outcome.Position1, LeftDialKind(axisConfig));
  if (const std::optional<DialKind> right = RightDialKind(axisConfig)) {
    checkPointer(outcome.Position2, *right);
  }
}

class ReplySession {
 public:
  explicit ReplySession(int32_t axisConfig) : axisConfig_(axisConfig) {}

  void Arrive(uint8_t byte) { waiting_.push_back(byte); }

  void Notify(bool countsOneMore) {
    const size_t count = waiting_.size() + (countsOneMore ? 1 : 0);
    const int32_t before1 = parser_.Position1();
    const int32_t before2 = parser_.Position2();
    std::string read;
    ReplyOutcome outcome;
    try {
      outcome = parser_.TriggerAvail(static_cast<uint16_t>(count), [this, &read] {
        if (waiting_.empty()) throw PortEmpty{};
        read += static_cast<char>(waiting_.front());
        waiting_.pop_front();
        return static_cast<uint8_t>(read.back());
      });
    } catch (const PortEmpty&) {
      Check(countsOneMore, "reading fails only when a notice counts more than waits");
      Check(parser_.Position1() == before1 && parser_.Position2() == before2,
            "a failed read keeps the positions");
      return;
    }
    Check(outcome.Read == (count >= ReplyParser::kMinimumCount), "notices of 16 or more are read");
    Check(outcome.Read || read.empty(), "a notice too short reads nothing");
    Check(!outcome.Read || waiting_.empty(), "a notice read takes every waiting byte");
    Check(outcome.EchoLine == echoOf(read), "the echo lists every byte read");
    Check(outcome.Position1 == parser_.Position1() && outcome.Position2 == parser_.Position2(),
          "the notice shows the parser's positions");
    if (!outcome.ReportAccepted) {
      Check(outcome.Position1 == before1 && outcome.Position2 == before2,
            "a reply that is no report changes no position");
      return;
    }
    Check(sentAt(read, ReplyParser::kAxis1Digits, outcome.Position1), "axis 1's position was sent");
    Check(
        outcome.Position2 == before2 || sentAt(read, ReplyParser::kAxis2Digits, outcome.Position2),
        "axis 2's position was sent");
    checkShown(outcome, axisConfig_);
  }

 private:
  int32_t axisConfig_;
  ReplyParser parser_;
  std::deque<uint8_t> waiting_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes input(data, size);
  // -1 (none) to 3 (two azimuth dials), and one value beyond.
  ReplySession session(static_cast<int32_t>(input.Byte() % 6) - 1);
  while (!input.AtEnd()) {
    const uint8_t header = input.Byte();
    for (int i = header & kLengthBits; i > 0 && !input.AtEnd(); --i) session.Arrive(input.Byte());
    session.Notify((header & kShortBit) != 0);
  }
  return 0;
}
