#pragma once
// What the pseudo-terminal benchmarks share: the 16 MiB stream they receive
// or send (64 KiB blocks of a pattern, checked by its sum), the raw slave a
// plain loop reads or writes, the ports opened on a pseudo-terminal, and the
// one-byte round trip driven from the master.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "serial/SioPosixDispatcher.h"
#include "tests/serial/support/PseudoTerminal.h"
#include "tests/serial/support/TestGuiLoop.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TemporaryDirectory.h"

constexpr size_t kStreamBytes = 16u << 20;

// The byte at offset at of the stream.
uint8_t StreamByte(size_t at);
// One 64 KiB block of the stream; the stream is this block again and again.
std::vector<uint8_t> StreamBlock();
// The sum of every byte of the stream made of block.
uint64_t StreamSum(const std::vector<uint8_t>& block);
// Writes the whole stream on pty's master; whether it all went.
bool FeedStream(PseudoTerminal& pty, const std::vector<uint8_t>& block);

// The slave at path opened non-blocking and made raw, as a plain loop uses it.
int OpenRawSlave(const std::string& path);

// A fresh pseudo-terminal whose slave is COM1 of a fresh start-up directory, the current
// directory while the object lives: the serial port component opens it as port 1.
class PseudoTerminalAsCom1 {
 public:
  PseudoTerminalAsCom1();
  // Whether COM1 links to the slave.
  bool Linked() const { return linked_; }
  PseudoTerminal& Pty() { return pty_; }

 private:
  PseudoTerminal pty_;
  TemporaryDirectory dir_;
  CurrentDirectory inside_{dir_.Path()};
  bool linked_ = false;
};

// The POSIX port opened on a fresh pseudo-terminal's slave as the component opens it, its
// notices handled by handler on a stand-in GUI thread.
class PosixPortOnPty {
 public:
  explicit PosixPortOnPty(TestGuiLoop::Handler handler);
  // Whether the port opened; when it did not, standard error says so.
  bool Opened() const { return opened_; }
  PseudoTerminal& Pty() { return pty_; }

 private:
  PseudoTerminal pty_;
  std::shared_ptr<TestGuiLoop> gui_ = std::make_shared<TestGuiLoop>();
  TSioPosixDispatcher port_{nullptr};
  bool opened_ = false;
};

// rounds one-byte round trips: the master writes a byte and waits for it
// plus one; the microseconds of each, or false at the first wrong or missing
// answer.
bool TimeRoundTrips(PseudoTerminal& pty, int rounds, std::vector<double>& micros);
// "<what>: p50 .. us, p99 .. us, worst .. us (N rounds)" on standard output.
void PrintRoundTrips(const char* what, const std::vector<double>& micros);
