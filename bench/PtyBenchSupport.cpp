#include "bench/PtyBenchSupport.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <utility>

#include "bench/Percentile.h"
#include "tests/serial/support/OpenPort.h"

namespace {

constexpr size_t kBlockBytes = 64u << 10;

}  // namespace

// 31 times a block's length is a multiple of 256: the stream repeats its first block.
uint8_t StreamByte(size_t at) { return static_cast<uint8_t>(at * 31 + 7); }

std::vector<uint8_t> StreamBlock() {
  std::vector<uint8_t> bytes(kBlockBytes);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = StreamByte(i);
  return bytes;
}

uint64_t StreamSum(const std::vector<uint8_t>& block) {
  uint64_t sum = 0;
  for (const uint8_t b : block) sum += b;
  return sum * (kStreamBytes / block.size());
}

bool FeedStream(PseudoTerminal& pty, const std::vector<uint8_t>& block) {
  for (size_t fed = 0; fed < kStreamBytes; fed += block.size()) {
    if (!pty.Write(block, std::chrono::seconds(60))) {
      std::fprintf(stderr, "writing the master failed\n");
      return false;
    }
  }
  return true;
}

int OpenRawSlave(const std::string& path) {
  const int slave = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  termios line{};
  tcgetattr(slave, &line);
  cfmakeraw(&line);
  tcsetattr(slave, TCSANOW, &line);
  return slave;
}

PseudoTerminalAsCom1::PseudoTerminalAsCom1()
    : linked_(symlink(pty_.SlavePath().c_str(), "COM1") == 0) {}

PosixPortOnPty::PosixPortOnPty(TestGuiLoop::Handler handler) {
  gui_->SetHandler(std::move(handler));
  opened_ = OpenLikeComponent(port_, gui_, 1, pty_.SlavePath()) == 0;
  if (!opened_) std::fprintf(stderr, "opening the port failed\n");
}

bool TimeRoundTrips(PseudoTerminal& pty, int rounds, std::vector<double>& micros) {
  using Clock = std::chrono::steady_clock;
  micros.clear();
  for (int round = 0; round < rounds; ++round) {
    const auto sent = static_cast<uint8_t>(round);
    const auto start = Clock::now();
    if (!pty.Write({sent})) return false;
    const std::vector<uint8_t> answer = pty.Read(1, std::chrono::seconds(5));
    if (answer.size() != 1 || answer[0] != static_cast<uint8_t>(sent + 1)) {
      std::fprintf(stderr, "round %d: no answer or a wrong one\n", round);
      return false;
    }
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return true;
}

void PrintRoundTrips(const char* what, const std::vector<double>& micros) {
  std::printf("%s: p50 %.0f us, p99 %.0f us, worst %.0f us (%zu rounds)\n", what,
              Percentile(micros, 0.5), Percentile(micros, 0.99), Percentile(micros, 1.0),
              micros.size());
}
