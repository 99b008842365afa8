// The send path over a pseudo-terminal pair: 16 MiB put on the slave and read
// on the master by a thread that checks every byte. Beside the component's
// SendChar (one byte a call) and PutBlock (1 KiB a call), each on a stand-in
// GUI thread that waits for room in the output ring as an application
// would, the limit of the pair: a plain loop of poll() and write() of 4 KiB.

#include <poll.h>
#include <unistd.h>

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
constexpr size_t kPlainBlock = 4096;
constexpr uint32_t kPutBlock = 1024;

// Reads everything from the master; whether all bytes came in order.
bool drainMaster(PseudoTerminal& pty) {
  std::vector<uint8_t> buffer(65536);
  size_t received = 0;
  bool inOrder = true;
  const auto giveUp = Clock::now() + std::chrono::seconds(120);
  while (received < kStreamBytes && Clock::now() < giveUp) {
    pollfd wait{pty.Master(), POLLIN, 0};
    poll(&wait, 1, 100);
    const ssize_t got = read(pty.Master(), buffer.data(), buffer.size());
    for (ssize_t i = 0; i < got; ++i) inOrder = inOrder && buffer[i] == StreamByte(received + i);
    if (got > 0) received += static_cast<size_t>(got);
  }
  return inOrder && received == kStreamBytes;
}

void report(const char* what, double seconds, bool ok) {
  std::printf("%-36s %zu bytes in %.3f s = %7.1f MB/s (bytes %s)\n", what, kStreamBytes, seconds,
              static_cast<double>(kStreamBytes) / seconds / 1e6, ok ? "ok" : "WRONG");
}

// Times send against a master-side reader; whether every byte arrived.
bool timed(const char* what, PseudoTerminal& pty, const std::function<void()>& send) {
  bool ok = false;
  const auto start = Clock::now();
  std::thread reader([&] { ok = drainMaster(pty); });
  send();
  reader.join();
  report(what, std::chrono::duration<double>(Clock::now() - start).count(), ok);
  return ok;
}

bool plainRun() {
  PseudoTerminal pty;
  const int slave = OpenRawSlave(pty.SlavePath());
  std::vector<uint8_t> block(kPlainBlock);
  const bool ok = timed("plain poll + write (the limit):", pty, [&] {
    for (size_t sent = 0; sent < kStreamBytes;) {
      const size_t count = std::min(block.size(), kStreamBytes - sent);
      for (size_t i = 0; i < count; ++i) block[i] = StreamByte(sent + i);
      const ssize_t written = write(slave, block.data(), count);
      if (written > 0) sent += static_cast<size_t>(written);
      if (written < 0 && errno != EAGAIN) return;
      if (written <= 0 || static_cast<size_t>(written) < count) {
        pollfd wait{slave, POLLOUT, 0};
        poll(&wait, 1, 100);
      }
    }
  });
  close(slave);
  return ok;
}

// Sends through the component in pieces of at most piece bytes, each only
// when the output ring has room for it.
bool componentRun(const char* what, uint32_t piece,
                  const std::function<void(TSioComPort&, const uint8_t*, uint32_t)>& put) {
  PseudoTerminalAsCom1 com1;
  if (!com1.Linked()) return false;
  ComPortGui gui;
  TSioComPort port;
  port.SetComNumber(1);
  port.SetBaud(115200);
  gui.Run([&] { port.SetOpen(true); });
  std::vector<uint8_t> bytes(piece);
  const bool ok = timed(what, com1.Pty(), [&] {
    gui.Run([&] {
      TSioBaseDispatcher& dispatcher = *port.Dispatcher();
      for (size_t sent = 0; sent < kStreamBytes;) {
        const uint32_t room = dispatcher.OutputFree();
        if (room < piece) {
          // Room comes as the write thread drains the ring.
          std::this_thread::sleep_for(std::chrono::microseconds(50));
          continue;
        }
        const uint32_t count = static_cast<uint32_t>(std::min<size_t>(piece, kStreamBytes - sent));
        for (uint32_t i = 0; i < count; ++i) bytes[i] = StreamByte(sent + i);
        put(port, bytes.data(), count);
        sent += count;
      }
    });
  });
  gui.Run([&] { port.SetOpen(false); });
  return ok;
}

}  // namespace

int main() {
  const bool plainOk = plainRun();
  const bool sendCharOk = componentRun("component SendChar, 1 byte a call:", kPlainBlock,
                                       [](TSioComPort& port, const uint8_t* bytes, uint32_t count) {
                                         for (uint32_t i = 0; i < count; ++i)
                                           port.SendChar(bytes[i]);
                                       });
  const bool putBlockOk = componentRun(
      "component PutBlock, 1 KiB a call:", kPutBlock,
      [](TSioComPort& port, const uint8_t* bytes, uint32_t count) { port.PutBlock(bytes, count); });
  return plainOk && sendCharOk && putBlockOk ? 0 : 1;
}
