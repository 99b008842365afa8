// Received-data throughput of the dispatcher: 16 MiB fed into the input queue
// in 256-byte items, as the read thread queues them, while a data-available
// handler on a stand-in GUI thread reads every announced byte with ReadByte.
// Prints MB/s from the first byte fed to the last byte read.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "tests/serial/support/OpenPort.h"

namespace {

constexpr size_t kTotalBytes = 16u << 20;
constexpr size_t kFeedBlock = 64u << 10;

}  // namespace

int main() {
  auto gui = std::make_shared<TestGuiLoop>();
  FakePlatform port;
  if (OpenLikeComponent(port, gui) != 0) {
    std::fprintf(stderr, "opening the fake port failed\n");
    return 1;
  }
  std::atomic<size_t> received{0};
  std::atomic<uint32_t> checksum{0};
  gui->SetHandler([&](TSioBaseDispatcher& dispatcher, uint32_t, uintptr_t count, intptr_t) {
    uint32_t sum = 0;
    uint8_t ch = 0;
    for (uintptr_t i = 0; i < count && dispatcher.ReadByte(ch) == 0; ++i) sum += ch;
    checksum += sum;
    received += count;
  });

  std::vector<uint8_t> block(kFeedBlock);
  uint32_t expectedSum = 0;
  for (size_t i = 0; i < block.size(); ++i) {
    block[i] = static_cast<uint8_t>(i * 31 + 7);
    expectedSum += block[i];
  }
  expectedSum *= static_cast<uint32_t>(kTotalBytes / kFeedBlock);

  const auto start = std::chrono::steady_clock::now();
  std::thread producer([&] {
    for (size_t fed = 0; fed < kTotalBytes; fed += kFeedBlock) {
      // Keep the queue at a few blocks, as a line's pace would.
      while (port.InputQueue().ByteCount() > static_cast<int64_t>(4 * kFeedBlock)) {
        std::this_thread::yield();
      }
      port.Feed(block);
    }
  });
  while (received.load() < kTotalBytes) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  producer.join();

  std::printf("dispatcher receive: %zu bytes in %.3f s = %.1f MB/s (checksum %s)\n", kTotalBytes,
              seconds, static_cast<double>(kTotalBytes) / seconds / 1e6,
              checksum.load() == expectedSum ? "ok" : "WRONG");
  return checksum.load() == expectedSum ? 0 : 1;
}
