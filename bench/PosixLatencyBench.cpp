// Round-trip latency of one byte through the POSIX port over a
// pseudo-terminal pair: the master writes a byte, the port's
// data-available handler reads it with ReadByte and answers with WriteByte,
// the master reads the answer. Prints p50, p99 and the worst of the rounds
// (default 2000, or the first argument).

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/PtyBenchSupport.h"

namespace {

constexpr int kDefaultRounds = 2000;

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
  PosixPortOnPty posix([](TSioBaseDispatcher& port, uint32_t, uintptr_t count, intptr_t) {
    uint8_t ch = 0;
    for (uintptr_t i = 0; i < count && port.ReadByte(ch) == 0; ++i) {
      port.WriteByte(static_cast<uint8_t>(ch + 1));
    }
  });
  if (!posix.Opened()) return 1;
  std::vector<double> micros;
  if (!TimeRoundTrips(posix.Pty(), rounds, micros)) return 1;
  PrintRoundTrips("1-byte round trip", micros);
  return 0;
}
