// The serial port component's trace and log on an open port over the fake
// platform, written into a temporary directory.

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "serial/ExceptionDisplay.h"
#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "tests/serial/support/ComPortGui.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

std::vector<std::string> fileLines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

class ComPortTrace : public ::testing::Test {
 protected:
  void SetUp() override {
    port->SetComNumber(1);
    port->SetDispatcherFactory(fakes.Factory());
    port->SetOnTriggerAvail([this](TSioCustomComPort* CP, uint16_t Count) {
      for (uint16_t i = 0; i < Count; ++i) CP->ReadChar();
      received += Count;
    });
  }

  void TearDown() override {
    gui.Run([&] { port.reset(); });
  }

  // Sends and receives the bytes; waits until the handler read them.
  void Traffic(const std::string& sent, const std::string& echoed) {
    gui.Run([&] {
      for (const char c : sent) port->SendChar(static_cast<uint8_t>(c));
    });
    const size_t before = received.load();
    fakes.Latest().Feed(std::vector<uint8_t>(echoed.begin(), echoed.end()));
    ASSERT_TRUE(WaitUntil([&] { return received.load() == before + echoed.size(); }));
  }

  std::string TracePath() const { return dir.Path("SIO.TRC"); }
  std::string LogPath() const { return dir.Path("SIO.LOG"); }

  TemporaryDirectory dir;
  CurrentDirectory inside{dir.Path()};
  FakePorts fakes;
  ComPortGui gui;
  std::atomic<size_t> received{0};
  std::unique_ptr<TSioComPort> port = std::make_unique<TSioComPort>();
};

TEST_F(ComPortTrace, ADumpWritesEveryByteSentAndReceived) {
  port->SetTracing(tlOn);
  gui.Run([&] { port->SetOpen(true); });
  Traffic("C2\r", "AZ");
  gui.Run([&] {
    port->SetTracing(tlDump);
    EXPECT_EQ(port->Tracing(), tlOff);
    EXPECT_FALSE(port->Dispatcher()->TracingActive());
  });
  const std::vector<std::string> lines = fileLines(TracePath());
  ASSERT_EQ(lines.size(), 5u);
  size_t sent = 0;
  size_t got = 0;
  for (const std::string& line : lines) {
    ASSERT_FALSE(line.empty());
    if (line[0] == 'T') ++sent;
    if (line[0] == 'R') ++got;
  }
  EXPECT_EQ(sent, 3u);
  EXPECT_EQ(got, 2u);
}

TEST_F(ComPortTrace, AppendingKeepsTheEarlierDumpAndCanGoOnRecording) {
  gui.Run([&] {
    port->SetOpen(true);
    port->SetTracing(tlOn);
  });
  Traffic("ab", "");
  gui.Run([&] { port->SetTracing(tlAppendAndContinue); });
  EXPECT_EQ(fileLines(TracePath()).size(), 2u);
  Traffic("c", "");
  gui.Run([&] {
    EXPECT_EQ(port->Tracing(), tlOn);
    port->SetTracing(tlAppend);
  });
  EXPECT_EQ(fileLines(TracePath()).size(), 3u);
  gui.Run([&] {
    port->SetTracing(tlOn);
    port->SendChar('d');
    port->SetTracing(tlDump);
  });
  EXPECT_EQ(fileLines(TracePath()).size(), 1u);
}

TEST_F(ComPortTrace, PausingKeepsTheContentAndClearingDropsIt) {
  gui.Run([&] {
    port->SetOpen(true);
    port->SetTracing(tlOn);
    port->SendChar('a');
    port->SetTracing(tlPause);
    port->SendChar('b');
    EXPECT_EQ(port->Dispatcher()->TraceEntries().size(), 2u);
    port->SetTracing(tlOn);
    port->SendChar('c');
    EXPECT_EQ(port->Dispatcher()->TraceEntries().size(), 4u);
    port->SetTracing(tlClear);
    EXPECT_TRUE(port->Dispatcher()->TraceEntries().empty());
    port->SendChar('d');
    port->SetTracing(tlOff);
    port->SetTracing(tlDump);
  });
  EXPECT_FALSE(PathExists(TracePath()));
}

TEST_F(ComPortTrace, ANewSizeStartsARunningTraceAgainAndStopsAPausedOne) {
  gui.Run([&] {
    port->SetOpen(true);
    port->SetTracing(tlOn);
    port->SendChar('a');
    port->SetTraceSize(3);
    EXPECT_TRUE(port->Dispatcher()->TraceEntries().empty());
    for (const char c : std::string("wxyz")) port->SendChar(static_cast<uint8_t>(c));
    // A ring of three entries keeps the latest three.
    EXPECT_EQ(port->Dispatcher()->TraceEntries().size(), 6u);
    port->SetTracing(tlPause);
    port->SetTraceSize(5);
    EXPECT_EQ(port->Tracing(), tlOff);
  });
}

TEST_F(ComPortTrace, ClosingWritesTheTraceAndTheLog) {
  port->SetTracing(tlOn);
  port->SetLogging(tlOn);
  gui.Run([&] { port->SetOpen(true); });
  Traffic("C", "A");
  gui.Run([&] {
    port->SetOpen(false);
    EXPECT_EQ(port->Tracing(), tlOff);
    EXPECT_EQ(port->Logging(), tlOff);
  });
  EXPECT_EQ(fileLines(TracePath()).size(), 2u);
  const std::vector<std::string> log = fileLines(LogPath());
  ASSERT_FALSE(log.empty());
  std::ostringstream all;
  for (const std::string& line : log) all << line << "\n";
  EXPECT_NE(all.str().find(R"(\\.\COM1)"), std::string::npos) << all.str();
}

TEST_F(ComPortTrace, AnUnwritableTraceRaisesButDoesNotKeepThePortOpen) {
  port->SetTraceName(dir.Path("missing/SIO.TRC"));
  gui.Run([&] {
    port->SetOpen(true);
    port->SetTracing(tlOn);
    port->SendChar('a');
  });
  EXPECT_THROW(gui.Run([&] { port->SetTracing(tlAppendAndContinue); }), EInOutError);
  gui.Run([&] {
    EXPECT_EQ(port->Tracing(), tlOff);
    port->SetTracing(tlOn);
    port->SendChar('b');
  });
  std::vector<std::string> shown;
  SetExceptionDisplay([&](const std::exception& error) { shown.emplace_back(error.what()); });
  gui.Run([&] { port->SetOpen(false); });
  SetExceptionDisplay({});
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_FALSE(gui.Get<bool>([&] { return port->Open(); }));
}

}  // namespace
