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

#include "serial/SioPosixDispatcher.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/serial/support/PseudoTerminal.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kDefaultRounds = 2000;

double percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  const size_t at = static_cast<size_t>(share * static_cast<double>(values.size() - 1));
  return values[at];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
  PseudoTerminal pty;
  auto gui = std::make_shared<TestGuiLoop>();
  gui->SetHandler([](TSioBaseDispatcher& port, uint32_t, uintptr_t count, intptr_t) {
    uint8_t ch = 0;
    for (uintptr_t i = 0; i < count && port.ReadByte(ch) == 0; ++i) {
      port.WriteByte(static_cast<uint8_t>(ch + 1));
    }
  });
  TSioPosixDispatcher port(nullptr);
  if (OpenLikeComponent(port, gui, 1, pty.SlavePath()) != 0) {
    std::fprintf(stderr, "opening the port failed\n");
    return 1;
  }
  std::vector<double> micros;
  micros.reserve(static_cast<size_t>(rounds));
  for (int round = 0; round < rounds; ++round) {
    const uint8_t sent = static_cast<uint8_t>(round);
    const auto start = Clock::now();
    if (!pty.Write({sent})) return 1;
    const std::vector<uint8_t> answer = pty.Read(1, std::chrono::seconds(5));
    const auto end = Clock::now();
    if (answer.size() != 1 || answer[0] != static_cast<uint8_t>(sent + 1)) {
      std::fprintf(stderr, "round %d: no answer or a wrong one\n", round);
      return 1;
    }
    micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  std::printf("1-byte round trip over %d rounds: p50 %.0f us, p99 %.0f us, worst %.0f us\n", rounds,
              percentile(micros, 0.50), percentile(micros, 0.99),
              *std::max_element(micros.begin(), micros.end()));
  return 0;
}
