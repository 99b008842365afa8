// The hub's protocol rules driven by any bytes from any of four clients, with the panel's
// commands done at any moment with any status. After every step: a session that stopped
// reading waits for its command or has ended; replies come whole, each ended by a newline,
// with no more than a bounded number of bytes for the bytes read; every status is one hamlib
// uses; each client has at most one command queued; and every GO command queued carries
// targets the panel can send.
//
// Input: one byte choosing the axis configuration, whether positions are current and whether
// moves are refused; then steps, each a header byte (bit 7 set: the oldest queued command is
// done, with the status the next byte picks; clear: bits 0-1 name the client and bits 2-6 how
// many of the following bytes it sends).

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "remote/RemoteHub.h"
#include "remote/RotctlErrors.h"
#include "tests/remote/FakeRotator.h"

namespace {

constexpr int kClients = 4;
constexpr uint8_t kDoneBit = 0x80;
constexpr uint8_t kClientBits = 0x03;
constexpr int kLengthShift = 2;
constexpr uint8_t kLengthBits = 0x1F;
// dump_state in extended form, or a header echoing four arguments of 127 bytes, is the longest.
constexpr size_t kReplyBytesPerByteRead = 700;
constexpr std::array<int, 7> kStatuses = {
    RotctlOk,      RotctlInvalidArgument, RotctlNotImplemented, RotctlTimedOut,
    RotctlIoError, RotctlRejected,        RotctlNotAvailable};

void checkReplies(const std::string& output) {
  Check(output.empty() || output.back() == '\n', "replies come whole");
  // A line that starts with "RPRT " is a status: no header, value or separator begins one.
  for (size_t start = 0; start < output.size(); start = output.find('\n', start) + 1) {
    if (output.compare(start, 5, "RPRT ") != 0) continue;
    const std::string number = output.substr(start + 5, output.find('\n', start) - start - 5);
    bool known = false;
    for (const int status : kStatuses) known = known || number == std::to_string(status);
    Check(known, "status lines are hamlib's");
  }
}

void checkQueued(const HubCommand& command) {
  if (command.Park || !command.IsMove()) return;
  if (command.Command == RotatorCommand::GoAxis1 || command.Command == RotatorCommand::GoBoth) {
    Check(command.Target1 >= 0 && command.Target1 <= 450, "axis 1's target can be sent");
    Check(command.Target2 >= 0 && command.Target2 <= 450, "axis 2's target can be sent");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes input(data, size);
  FakeRotator panel;
  const uint8_t setup = input.Byte();
  panel.Config = static_cast<int32_t>(setup % 6) - 1;
  panel.Positions = std::nullopt;
  if (setup & 0x10) panel.Positions = RotatorPositions{static_cast<int32_t>(setup), 45};
  panel.Refused = (setup & 0x20) != 0;

  RemoteHub hub(panel);
  std::array<RemoteHub::ClientId, kClients> clients{};
  for (RemoteHub::ClientId& client : clients) client = *hub.Connect();
  std::map<RemoteHub::ClientId, std::string> unread;
  hub.SetOnCommandQueued([] {});

  while (!input.AtEnd()) {
    const uint8_t header = input.Byte();
    RemoteHub::ClientId client = 0;
    if (header & kDoneBit) {
      const std::optional<RemoteHub::QueuedCommand> next = hub.TakeNextCommand();
      const int status = kStatuses[input.Byte() % kStatuses.size()];
      if (!next) continue;
      checkQueued(next->Command);
      client = next->Client;
      hub.CommandDone(client, status);
    } else {
      client = clients[header & kClientBits];
      for (int i = (header >> kLengthShift) & kLengthBits; i > 0 && !input.AtEnd(); --i) {
        unread[client] += static_cast<char>(input.Byte());
      }
    }
    RemoteSession* session = hub.Session(client);
    const size_t taken = session->Receive(unread[client]);
    Check(taken <= unread[client].size(), "a session reads no more than it was given");
    Check(taken == unread[client].size() || session->Waiting() || session->Ended(),
          "a session stops reading only to wait or at its end");
    unread[client].erase(0, taken);
    const std::string output = session->TakeOutput();
    Check(output.size() <= kReplyBytesPerByteRead * (taken + 1), "replies stay bounded");
    if (!session->Waiting()) checkReplies(output);
  }
  // Every client has at most one command queued.
  std::set<RemoteHub::ClientId> seen;
  while (const std::optional<RemoteHub::QueuedCommand> next = hub.TakeNextCommand()) {
    checkQueued(next->Command);
    Check(seen.insert(next->Client).second, "one queued command per client");
  }
  return 0;
}
