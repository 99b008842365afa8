#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/ReplyParser.h"

namespace {

const std::string kFullReport = "AZ=123  EL=045\r\n";
const std::string kDegree = "\xC2\xB0";

// The port's receive buffer as the handler sees it: bytes it leaves unread stay waiting and
// are counted again with the ones that arrive later.
class WaitingBytes {
 public:
  void Arrive(const std::string& bytes) {
    waiting_.insert(waiting_.end(), bytes.begin(), bytes.end());
  }

  // Raises the data-available notice with the number of waiting bytes.
  ReplyOutcome Notify(ReplyParser& parser) {
    return parser.TriggerAvail(static_cast<uint16_t>(waiting_.size()), [this] {
      if (waiting_.empty()) throw std::runtime_error("no unread byte left");
      const uint8_t byte = static_cast<uint8_t>(waiting_.front());
      waiting_.pop_front();
      ++bytesRead_;
      return byte;
    });
  }

  ReplyOutcome ArriveAndNotify(ReplyParser& parser, const std::string& bytes) {
    Arrive(bytes);
    return Notify(parser);
  }

  size_t Waiting() const { return waiting_.size(); }
  size_t BytesRead() const { return bytesRead_; }

 private:
  std::deque<char> waiting_;
  size_t bytesRead_ = 0;
};

std::string echoOf(const std::string& bytes) {
  std::string line;
  for (const char c : bytes) line += std::to_string(static_cast<uint8_t>(c)) + " ";
  return line;
}

// A parser that has already shown 100° and 50°.
ReplyParser parserShowing100And50() {
  ReplyParser parser;
  WaitingBytes port;
  EXPECT_TRUE(port.ArriveAndNotify(parser, "AZ=100  EL=050\r\n").ReportAccepted);
  return parser;
}

void expectPositionsKept(const ReplyOutcome& outcome, const ReplyParser& parser) {
  EXPECT_FALSE(outcome.ReportAccepted);
  EXPECT_EQ(parser.Position1(), 100);
  EXPECT_EQ(parser.Position2(), 50);
  EXPECT_EQ(outcome.ReadOut1Text, "100" + kDegree);
  EXPECT_EQ(outcome.ReadOut2Text, "50" + kDegree);
}

TEST(ReplyParser, ReadsTheSixteenByteReport) {
  ReplyParser parser;
  WaitingBytes port;
  const ReplyOutcome outcome = port.ArriveAndNotify(parser, kFullReport);
  EXPECT_TRUE(outcome.Read);
  EXPECT_TRUE(outcome.ReportAccepted);
  EXPECT_EQ(outcome.EchoLine, "65 90 61 49 50 51 32 32 69 76 61 48 52 53 13 10 ");
  EXPECT_EQ(outcome.Position1, 123);
  EXPECT_EQ(outcome.Position2, 45);
  EXPECT_EQ(parser.Position1(), 123);
  EXPECT_EQ(parser.Position2(), 45);
  EXPECT_EQ(outcome.ReadOut1Text, "123\xC2\xB0");
  EXPECT_EQ(outcome.ReadOut2Text, "45\xC2\xB0");
  EXPECT_EQ(port.Waiting(), 0u);
}

TEST(ReplyParser, DropsOneLeadingCarriageReturn) {
  ReplyParser parser;
  WaitingBytes port;
  const ReplyOutcome outcome = port.ArriveAndNotify(parser, "\r" + kFullReport);
  EXPECT_EQ(outcome.EchoLine, echoOf("\r" + kFullReport));
  EXPECT_TRUE(outcome.ReportAccepted);
  EXPECT_EQ(parser.Position1(), 123);
  EXPECT_EQ(parser.Position2(), 45);
}

TEST(ReplyParser, TheDroppedCarriageReturnMovesSixteenPositionsDown) {
  ReplyParser parser;
  WaitingBytes port;
  const std::string bytes = "\r" + kFullReport + "abcdefghijkl";  // 29 bytes
  port.ArriveAndNotify(parser, bytes);
  const auto& rx = parser.RxBuf();
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(rx[i], static_cast<uint8_t>(bytes[i + 1])) << i;
  for (size_t i = 16; i < rx.size(); ++i) EXPECT_EQ(rx[i], static_cast<uint8_t>(bytes[i])) << i;
}

TEST(ReplyParser, TwoLeadingCarriageReturnsAreNoReport) {
  ReplyParser parser = parserShowing100And50();
  WaitingBytes port;
  const ReplyOutcome outcome = port.ArriveAndNotify(parser, "\r\r" + kFullReport);
  EXPECT_EQ(outcome.EchoLine, echoOf("\r\r" + kFullReport));
  expectPositionsKept(outcome, parser);
}

TEST(ReplyParser, FifteenBytesWaitUntilMoreArriveThenTheOldestReportIsParsed) {
  ReplyParser parser;
  WaitingBytes port;
  const std::string first = kFullReport;
  const std::string second = "AZ=200  EL=090\r\n";
  const ReplyOutcome early = port.ArriveAndNotify(parser, first.substr(0, 15));
  EXPECT_FALSE(early.Read);
  EXPECT_TRUE(early.EchoLine.empty());
  EXPECT_EQ(port.BytesRead(), 0u);
  EXPECT_EQ(port.Waiting(), 15u);

  const ReplyOutcome later = port.ArriveAndNotify(parser, first.substr(15) + second);
  EXPECT_TRUE(later.ReportAccepted);
  EXPECT_EQ(later.EchoLine, echoOf(first + second));
  EXPECT_EQ(port.Waiting(), 0u);
  EXPECT_EQ(parser.Position1(), 123);
  EXPECT_EQ(parser.Position2(), 45);
}

TEST(ReplyParser, ALoneCarriageReturnBecomesTheLeadingOneOfTheNextRead) {
  ReplyParser parser;
  WaitingBytes port;
  EXPECT_FALSE(port.ArriveAndNotify(parser, "\r").Read);
  EXPECT_EQ(port.Waiting(), 1u);
  const ReplyOutcome outcome = port.ArriveAndNotify(parser, kFullReport);
  EXPECT_EQ(outcome.EchoLine, echoOf("\r" + kFullReport));
  EXPECT_TRUE(outcome.ReportAccepted);
  EXPECT_EQ(parser.Position1(), 123);
}

TEST(ReplyParser, ForeignDataIsOnlyEchoed) {
  ReplyParser parser = parserShowing100And50();
  WaitingBytes port;
  const std::string foreign = "?>ERROR  EL=045\r\n";
  const ReplyOutcome outcome = port.ArriveAndNotify(parser, foreign);
  EXPECT_TRUE(outcome.Read);
  EXPECT_EQ(outcome.EchoLine, echoOf(foreign));
  expectPositionsKept(outcome, parser);
}

TEST(ReplyParser, SingleAxisRepliesAreReadInPairsAndGiveNoAxisTwo) {
  // The one-axis answer is 8 bytes: the first waits, the second makes 16 and both are read.
  // The second answer's azimuth then stands where axis 2's digits would, but not behind "EL".
  ReplyParser parser;
  WaitingBytes port;
  EXPECT_FALSE(port.ArriveAndNotify(parser, "AZ=123\r\n").Read);
  const ReplyOutcome pair = port.ArriveAndNotify(parser, "AZ=124\r\n");
  EXPECT_TRUE(pair.ReportAccepted);
  EXPECT_EQ(pair.Position1, 123);
  EXPECT_EQ(pair.Position2, 0);
  EXPECT_FALSE(pair.Position2Read);

  EXPECT_FALSE(port.ArriveAndNotify(parser, "AZ=125\r\n").Read);
  EXPECT_EQ(parser.Position1(), 123);
  const ReplyOutcome next = port.ArriveAndNotify(parser, "AZ=126\r\n");
  EXPECT_EQ(next.Position1, 125);
  EXPECT_EQ(next.Position2, 0);
  EXPECT_FALSE(parser.Position2Read());
}

TEST(ReplyParser, AxisTwoCountsAsReadFromTheFirstReportHoldingItOn) {
  ReplyParser parser;
  WaitingBytes port;
  EXPECT_FALSE(port.ArriveAndNotify(parser, "AZ=330EL=045\r\n").Read);
  EXPECT_FALSE(port.ArriveAndNotify(parser, "AZ=330EL=045\r\n").Position2Read);
  const ReplyOutcome full = port.ArriveAndNotify(parser, "AZ=330  EL=045\r\n");
  EXPECT_TRUE(full.Position2Read);
  EXPECT_EQ(full.Position2, 45);
  EXPECT_FALSE(port.ArriveAndNotify(parser, "AZ=331EL=046\r\n").Read);
  const ReplyOutcome axisOneOnly = port.ArriveAndNotify(parser, "AZ=331EL=046\r\n");
  EXPECT_EQ(axisOneOnly.Position1, 331);
  EXPECT_EQ(axisOneOnly.Position2, 45) << "the last one read";
  EXPECT_TRUE(axisOneOnly.Position2Read);
}

TEST(ReplyParser, BytesBeyondTheBufferAreReadAndEchoedButNotKept) {
  ReplyParser parser;
  WaitingBytes port;
  std::string bytes = kFullReport;
  for (int i = 0; i < 300; ++i) bytes += static_cast<char>('a' + i % 26);
  const ReplyOutcome outcome = port.ArriveAndNotify(parser, bytes);
  EXPECT_EQ(port.Waiting(), 0u);
  EXPECT_EQ(port.BytesRead(), bytes.size());
  EXPECT_EQ(outcome.EchoLine, echoOf(bytes));
  EXPECT_EQ(parser.Position1(), 123);
  const auto& rx = parser.RxBuf();
  for (size_t i = 0; i < rx.size(); ++i) EXPECT_EQ(rx[i], static_cast<uint8_t>(bytes[i])) << i;
}

TEST(ReplyParser, TheBufferKeepsOlderBytesBehindAShorterRead) {
  ReplyParser parser;
  WaitingBytes port;
  const std::string longRead = kFullReport + "0123456789abc";  // 29 bytes
  port.ArriveAndNotify(parser, longRead);
  port.ArriveAndNotify(parser, "AZ=200  EL=090\r\n");
  const auto& rx = parser.RxBuf();
  for (size_t i = 16; i < rx.size(); ++i) EXPECT_EQ(rx[i], static_cast<uint8_t>(longRead[i])) << i;
  EXPECT_EQ(parser.Position1(), 200);
}

TEST(ReplyParser, ANonDigitInAxisOneMeansNoReport) {
  for (const std::string& reply :
       {std::string("AZ= 23  EL=045\r\n"), std::string("AZ=1 3  EL=045\r\n"),
        std::string("AZ=12x  EL=045\r\n"), std::string("AZ=\0\0\0  EL=045\r\n", 16)}) {
    ReplyParser parser = parserShowing100And50();
    WaitingBytes port;
    const ReplyOutcome outcome = port.ArriveAndNotify(parser, reply);
    EXPECT_EQ(outcome.EchoLine, echoOf(reply));
    expectPositionsKept(outcome, parser);
  }
}

TEST(ReplyParser, ANonDigitInAxisTwoKeepsItsLastPosition) {
  for (const std::string& reply :
       {std::string("AZ=123  EL= 45\r\n"), std::string("AZ=123  EL=0-5\r\n"),
        std::string("AZ=123  EL=04?\r\n")}) {
    ReplyParser parser = parserShowing100And50();
    WaitingBytes port;
    const ReplyOutcome outcome = port.ArriveAndNotify(parser, reply);
    EXPECT_TRUE(outcome.ReportAccepted) << reply;
    EXPECT_EQ(parser.Position1(), 123);
    EXPECT_EQ(parser.Position2(), 50);
    EXPECT_EQ(outcome.ReadOut1Text, "123" + kDegree);
    EXPECT_EQ(outcome.ReadOut2Text, "50" + kDegree);
  }
}

TEST(ReplyParser, ALayoutWithoutBlanksGivesAxisOneOnly) {
  // "AZ=330EL=000" puts the second group at positions 9 to 11: position 11 onwards is not
  // axis 2's number, so axis 2 keeps its last value.
  ReplyParser parser = parserShowing100And50();
  WaitingBytes port;
  EXPECT_FALSE(port.ArriveAndNotify(parser, "AZ=330EL=000\r\n").Read);
  const ReplyOutcome outcome = port.ArriveAndNotify(parser, "AZ=330EL=000\r\n");
  EXPECT_TRUE(outcome.ReportAccepted);
  EXPECT_EQ(parser.Position1(), 330);
  EXPECT_EQ(parser.Position2(), 50);
}

TEST(ReplyParser, WiderNumbersAreNeverCutToThreeDigits) {
  // Four-digit fields: reading three of the four digits would show a position never sent.
  ReplyParser parser = parserShowing100And50();
  WaitingBytes port;
  EXPECT_FALSE(port.ArriveAndNotify(parser, "AZ=0000EL=000\r\n").Read);
  expectPositionsKept(port.ArriveAndNotify(parser, "AZ=0123EL=045\r\n"), parser);

  const ReplyOutcome axis2Wide = port.ArriveAndNotify(parser, "AZ=123 EL=0045\r\n");
  EXPECT_TRUE(axis2Wide.ReportAccepted);
  EXPECT_EQ(parser.Position1(), 123);
  EXPECT_EQ(parser.Position2(), 50);
}

TEST(ReplyParser, AnErrorReadingABytePropagatesAndKeepsThePositions) {
  ReplyParser parser = parserShowing100And50();
  int reads = 0;
  EXPECT_THROW(parser.TriggerAvail(16,
                                   [&]() -> uint8_t {
                                     if (++reads == 6)
                                       throw std::runtime_error("Device read error");
                                     return static_cast<uint8_t>(kFullReport[reads - 1]);
                                   }),
               std::runtime_error);
  EXPECT_EQ(reads, 6);
  EXPECT_EQ(parser.Position1(), 100);
  EXPECT_EQ(parser.Position2(), 50);

  WaitingBytes port;
  EXPECT_TRUE(port.ArriveAndNotify(parser, kFullReport).ReportAccepted);
  EXPECT_EQ(parser.Position1(), 123);
}

TEST(ReplyParser, ZerosFromAClosingPortAreNoReport) {
  ReplyParser parser = parserShowing100And50();
  const ReplyOutcome outcome = parser.TriggerAvail(16, [] { return uint8_t{0}; });
  EXPECT_EQ(outcome.EchoLine, echoOf(std::string(16, '\0')));
  expectPositionsKept(outcome, parser);
}

TEST(PositionLabelText, AppendsTheDegreeSign) {
  for (const int32_t position : {0, 7, 45, 359, 999}) {
    EXPECT_EQ(PositionLabelText(position), std::to_string(position) + "\u00B0");
  }
}

}  // namespace
