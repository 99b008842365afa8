// CPU time an idle open POSIX port costs: a port opened on a pseudo-terminal
// with a data-available handler, left alone for 30 s (or the seconds given
// as the first argument). Prints the process's user and system time over
// that span, from getrusage.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "bench/PtyBenchSupport.h"

namespace {

constexpr int kDefaultSeconds = 30;

double cpuMillis(const rusage& usage) {
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultSeconds;
  const PosixPortOnPty posix([](TSioBaseDispatcher& port, uint32_t, uintptr_t count, intptr_t) {
    uint8_t ch = 0;
    for (uintptr_t i = 0; i < count && port.ReadByte(ch) == 0; ++i) {
    }
  });
  if (!posix.Opened()) return 1;
  rusage before{};
  rusage after{};
  getrusage(RUSAGE_SELF, &before);
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  getrusage(RUSAGE_SELF, &after);
  const double wall =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const double cpu = cpuMillis(after) - cpuMillis(before);
  std::printf(
      "idle open port for %.1f s: %.1f ms CPU (%.3f %% of one core), %ld context switches\n",
      wall / 1e3, cpu, 100.0 * cpu / wall,
      (after.ru_nvcsw + after.ru_nivcsw) - (before.ru_nvcsw + before.ru_nivcsw));
  return 0;
}
