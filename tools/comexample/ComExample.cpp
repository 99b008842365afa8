// Asks a GS-232B controller on COM1 for both positions and prints its reply.
//
//   cd /tmp/demo && gs232sim --link COM1 &    # the simulator as COM1 here
//   comexample                                # prints e.g. AZ=000  EL=000
//
// The serial port component delivers received bytes through OnTriggerAvail
// on the thread that runs its notices: here the main thread, while it waits.

#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "serial/MessagePump.h"
#include "serial/NotifyWindowFactory.h"
#include "serial/SioComPort.h"
#include "tools/comexample/MainThreadLoop.h"

namespace {

constexpr uint16_t kPort = 1;
constexpr int32_t kBaud = 9600;
constexpr std::chrono::milliseconds kReplyBound{5000};

// The reply without its line end.
std::string trimmed(std::string reply) {
  while (!reply.empty() && (reply.back() == '\r' || reply.back() == '\n')) reply.pop_back();
  return reply;
}

}  // namespace

int main() {
  auto loop = std::make_shared<MainThreadLoop>();
  SetNotifyWindowFactory([loop] { return loop; });
  SetMessagePump([loop] { loop->RunOne(); });

  TSioComPort port;
  port.SetComNumber(kPort);
  port.SetBaud(kBaud);
  std::string reply;
  port.SetOnTriggerAvail([&reply](TSioCustomComPort* CP, uint16_t Count) {
    for (uint16_t i = 0; i < Count; ++i) reply += static_cast<char>(CP->ReadChar());
  });

  int result = 0;
  try {
    port.SetOpen(true);
    for (const char c : std::string("C2\r")) port.SendChar(static_cast<uint8_t>(c));
    if (loop->RunUntil([&reply] { return reply.find('\r') != std::string::npos; }, kReplyBound)) {
      std::printf("%s\n", trimmed(reply).c_str());
    } else {
      std::fprintf(stderr, "No reply from COM%d within %lld ms\n", kPort,
                   static_cast<long long>(kReplyBound.count()));
      result = 1;
    }
    port.SetOpen(false);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "Port COM%d: %s\n", kPort, error.what());
    result = 1;
  }
  SetMessagePump({});
  SetNotifyWindowFactory({});
  return result;
}
