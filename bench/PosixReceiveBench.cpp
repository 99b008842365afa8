// Receive throughput of the POSIX port through a pseudo-terminal pair: 16 MiB
// written on the master, read by a data-available handler byte by byte with
// ReadByte on a stand-in GUI thread. Beside it, the limit of the same pair:
// a plain loop of poll() and read() on a raw slave. Prints MB/s for both.

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "bench/PtyBenchSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

void report(const char* what, double seconds, bool sumOk) {
  std::printf("%-34s %zu bytes in %.3f s = %7.1f MB/s (checksum %s)\n", what, kStreamBytes, seconds,
              static_cast<double>(kStreamBytes) / seconds / 1e6, sumOk ? "ok" : "WRONG");
}

bool dispatcherRun(const std::vector<uint8_t>& bytes) {
  std::atomic<size_t> received{0};
  std::atomic<uint64_t> sum{0};
  PosixPortOnPty posix([&](TSioBaseDispatcher& port, uint32_t, uintptr_t count, intptr_t) {
    uint64_t local = 0;
    uint8_t ch = 0;
    uintptr_t read = 0;
    while (read < count && port.ReadByte(ch) == 0) {
      local += ch;
      ++read;
    }
    sum += local;
    received += read;
  });
  if (!posix.Opened()) return false;
  const auto start = Clock::now();
  std::thread writer([&] { FeedStream(posix.Pty(), bytes); });
  while (received.load() < kStreamBytes) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  writer.join();
  const bool ok = sum.load() == StreamSum(bytes);
  report("TSioPosixDispatcher + ReadByte:", seconds, ok);
  return ok;
}

bool plainRun(const std::vector<uint8_t>& bytes) {
  PseudoTerminal pty;
  const int slave = OpenRawSlave(pty.SlavePath());
  const auto start = Clock::now();
  std::thread writer([&] { FeedStream(pty, bytes); });
  uint64_t sum = 0;
  size_t received = 0;
  uint8_t buffer[4096];
  while (received < kStreamBytes) {
    pollfd wait{slave, POLLIN, 0};
    poll(&wait, 1, 100);
    const ssize_t got = read(slave, buffer, sizeof buffer);
    for (ssize_t i = 0; i < got; ++i) sum += buffer[i];
    if (got > 0) received += static_cast<size_t>(got);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  writer.join();
  close(slave);
  const bool ok = sum == StreamSum(bytes);
  report("plain poll + read (the limit):", seconds, ok);
  return ok;
}

}  // namespace

int main() {
  const std::vector<uint8_t> bytes = StreamBlock();
  const bool dispatcherOk = dispatcherRun(bytes);
  const bool plainOk = plainRun(bytes);
  return dispatcherOk && plainOk ? 0 : 1;
}
