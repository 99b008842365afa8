// The serial port component's own path: the same measurements as the
// dispatcher and POSIX benchmarks, with the bytes taken by an OnTriggerAvail
// handler through ReadChar (and answered through SendChar) on a stand-in GUI
// thread, notices going through the port's window procedure.
//   1. receive throughput over the fake platform (16 MiB in 256-byte items);
//   2. receive throughput over a pseudo-terminal (16 MiB written on the master);
//   3. one-byte round trip over a pseudo-terminal (p50, p99, worst of 2000).

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "bench/PtyBenchSupport.h"
#include "serial/SioComPort.h"
#include "tests/serial/support/ComPortGui.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 2000;

// A port whose handler reads every announced byte with ReadChar.
struct CountingPort {
  explicit CountingPort(uint16_t number) {
    port.SetComNumber(number);
    port.SetBaud(115200);
    port.SetOnTriggerAvail([this](TSioCustomComPort* CP, uint16_t Count) {
      uint64_t local = 0;
      for (uint16_t i = 0; i < Count; ++i) local += CP->ReadChar();
      sum += local;
      received += Count;
      ++notices;
    });
  }

  TSioComPort port;
  std::atomic<size_t> received{0};
  std::atomic<uint64_t> sum{0};
  std::atomic<size_t> notices{0};
};

void report(const char* what, double seconds, bool sumOk, size_t notices) {
  std::printf("%-44s %zu bytes in %.3f s = %7.1f MB/s (checksum %s), %.0f notices per MiB\n", what,
              kStreamBytes, seconds, static_cast<double>(kStreamBytes) / seconds / 1e6,
              sumOk ? "ok" : "WRONG",
              static_cast<double>(notices) / static_cast<double>(kStreamBytes >> 20));
}

// Waits until the port has read everything; the seconds since start.
double waitForAll(CountingPort& counting, Clock::time_point start) {
  while (counting.received.load() < kStreamBytes) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Opens counting's port, feeds it from a thread of its own and waits until the port has read
// everything; reports and returns whether the sum came right.
bool receiveRun(const char* what, ComPortGui& gui, CountingPort& counting,
                const std::vector<uint8_t>& bytes, const std::function<void()>& feed) {
  gui.Run([&] { counting.port.SetOpen(true); });
  const auto start = Clock::now();
  std::thread feeder(feed);
  const double seconds = waitForAll(counting, start);
  feeder.join();
  gui.Run([&] { counting.port.SetOpen(false); });
  const bool ok = counting.sum.load() == StreamSum(bytes);
  report(what, seconds, ok, counting.notices.load());
  return ok;
}

bool fakeRun(const std::vector<uint8_t>& bytes) {
  ComPortGui gui;
  FakePorts fakes;
  CountingPort counting(1);
  counting.port.SetDispatcherFactory(fakes.Factory());
  return receiveRun("component over the fake platform, ReadChar:", gui, counting, bytes, [&] {
    FakePlatform& fake = fakes.Latest();
    for (size_t fed = 0; fed < kStreamBytes; fed += bytes.size()) {
      // Keep the queue at a few blocks, as a line's pace would.
      while (fake.InputQueue().ByteCount() > static_cast<int64_t>(4 * bytes.size())) {
        std::this_thread::yield();
      }
      fake.Feed(bytes);
    }
  });
}

bool ptyRun(const std::vector<uint8_t>& bytes) {
  PseudoTerminalAsCom1 com1;
  if (!com1.Linked()) return false;
  ComPortGui gui;
  CountingPort counting(1);
  return receiveRun("component over a pseudo-terminal, ReadChar:", gui, counting, bytes,
                    [&] { FeedStream(com1.Pty(), bytes); });
}

bool roundTripRun() {
  PseudoTerminalAsCom1 com1;
  if (!com1.Linked()) return false;
  ComPortGui gui;
  TSioComPort port;
  port.SetComNumber(1);
  port.SetOnTriggerAvail([](TSioCustomComPort* CP, uint16_t Count) {
    for (uint16_t i = 0; i < Count; ++i) CP->SendChar(static_cast<uint8_t>(CP->ReadChar() + 1));
  });
  gui.Run([&] { port.SetOpen(true); });
  std::vector<double> micros;
  const bool ok = TimeRoundTrips(com1.Pty(), kRounds, micros);
  gui.Run([&] { port.SetOpen(false); });
  if (!ok) return false;
  PrintRoundTrips("component round trip, ReadChar + SendChar", micros);
  return true;
}

}  // namespace

int main() {
  const std::vector<uint8_t> bytes = StreamBlock();
  const bool fakeOk = fakeRun(bytes);
  const bool ptyOk = ptyRun(bytes);
  const bool roundTripOk = roundTripRun();
  return fakeOk && ptyOk && roundTripOk ? 0 : 1;
}
