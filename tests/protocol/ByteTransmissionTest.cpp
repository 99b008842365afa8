#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/ByteTransmission.h"

namespace {

// A port that records what it is given, can close after some bytes and can fail at one byte.
struct RecordingPort {
  size_t OpenForBytes = SIZE_MAX;
  size_t FailAt = SIZE_MAX;
  size_t Checks = 0;
  std::string Sent;

  PortCheck IsOpen() {
    return [this] { return Checks++ < OpenForBytes; };
  }
  ByteSender SendChar() {
    return [this](uint8_t byte) {
      if (Sent.size() == FailAt) throw std::runtime_error("Output buffer full");
      Sent.push_back(static_cast<char>(byte));
    };
  }
};

CommandBuffer bufferOf(const std::string& bytes) {
  CommandBuffer buf{};
  std::copy(bytes.begin(), bytes.end(), buf.begin());
  return buf;
}

TEST(SendCommandBytes, SendsTheCountedBytesCheckingThePortBeforeEach) {
  RecordingPort port;
  SendCommandBytes(bufferOf("W045 007\rXY"), 9, port.IsOpen(), port.SendChar());
  EXPECT_EQ(port.Sent, "W045 007\r");
  EXPECT_EQ(port.Checks, 9u);
}

TEST(SendCommandBytes, SkipsEveryByteWhileThePortIsClosed) {
  RecordingPort closing;
  closing.OpenForBytes = 2;
  SendCommandBytes(bufferOf("M123\r"), 5, closing.IsOpen(), closing.SendChar());
  EXPECT_EQ(closing.Sent, "M1");
  EXPECT_EQ(closing.Checks, 5u);
}

TEST(SendCommandBytes, AFailingByteEndsTheCommandAndPropagates) {
  RecordingPort port;
  port.FailAt = 2;
  EXPECT_THROW(SendCommandBytes(bufferOf("M123\r"), 5, port.IsOpen(), port.SendChar()),
               std::runtime_error);
  EXPECT_EQ(port.Sent, "M1");
}

TEST(SendPollBytes, AFailingByteEndsTheQuerySilently) {
  RecordingPort port;
  port.FailAt = 1;
  EXPECT_NO_THROW(SendPollBytes(bufferOf("C2\r"), 3, port.IsOpen(), port.SendChar()));
  EXPECT_EQ(port.Sent, "C");
  EXPECT_EQ(port.Checks, 2u);
}

TEST(SendPollBytes, SendsOnlyWhileThePortMayPoll) {
  RecordingPort port;
  SendPollBytes(bufferOf("C2\r"), 3, port.IsOpen(), port.SendChar());
  EXPECT_EQ(port.Sent, "C2\r");

  RecordingPort closed;
  closed.OpenForBytes = 0;
  SendPollBytes(bufferOf("C2\r"), 3, closed.IsOpen(), closed.SendChar());
  EXPECT_EQ(closed.Sent, "");
  EXPECT_EQ(closed.Checks, 3u);
}

}  // namespace
