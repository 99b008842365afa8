#include "tools/gs232sim/SimulatorLoop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <iostream>
#include <random>
#include <stdexcept>
#include <system_error>

#include "tools/gs232sim/CommandLogLine.h"
#include "tools/gs232sim/SystemCall.h"

namespace {

constexpr std::size_t kReadSize = 4096;

std::optional<ClientWatch> watchClients(const std::string& path) {
  try {
    return ClientWatch(path);
  } catch (const std::system_error& error) {
    std::cerr << "gs232sim: cannot watch clients (" << error.what()
              << "); serving as if one were always connected\n";
    return std::nullopt;
  }
}

std::uint32_t chooseSeed(const std::optional<std::uint32_t>& seed) {
  return seed ? *seed : std::random_device{}();
}

}  // namespace

SimulatorLoop::SimulatorLoop(const SimulatorOptions& options)
    : start_(Clock::now()),
      floodBytes_(options.floodBytes),
      clients_(watchClients(terminal_.ClientPath())),
      motion_(options.azimuth, options.elevation, options.degreesPerSecond, start_),
      interpreter_(motion_, options.profile),
      shaper_(options.faults, chooseSeed(options.seed)) {
  if (!options.linkPath.empty()) link_.emplace(options.linkPath, terminal_.ClientPath());
  if (!options.logPath.empty()) log_.emplace(options.logPath);
}

void SimulatorLoop::Run() {
  if (!(std::cout << terminal_.ClientPath() << '\n' << std::flush)) {
    throw std::runtime_error("cannot write the terminal's path to standard output");
  }
  if (!clients_ && floodBytes_ > 0) output_.Push({OutputChunk{shaper_.RandomBytes(floodBytes_)}});

  while (true) {
    std::array<pollfd, 3> fds{{
        {stopSignals_.Fd(), POLLIN, 0},
        {terminal_.Master(), static_cast<short>(POLLIN | (outputDue() ? POLLOUT : 0)), 0},
        {clients_ ? clients_->Fd() : -1, POLLIN, 0},
    }};
    if (poll(fds.data(), fds.size(), pollTimeoutMs()) < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError("poll");
    }
    if (fds[0].revents != 0) return;
    takeClientChanges();
    const short terminalEvents = fds[1].revents;
    if (terminalEvents & POLLIN) {
      readCommands();
    } else if (terminalEvents & (POLLERR | POLLHUP | POLLNVAL)) {
      throw std::runtime_error("the terminal failed");
    }
    writeDueOutput();
  }
}

bool SimulatorLoop::clientPresent() const { return !clients_ || clients_->Connected(); }

void SimulatorLoop::takeClientChanges() {
  if (!clients_) return;
  for (const ClientChange change : clients_->TakeChanges()) {
    // Replies nobody read are lost with the line, as on a real serial port,
    // so the next client starts from a clean line.
    output_.Clear();
    terminal_.DiscardUnread();
    if (change == ClientChange::LastLeft) {
      terminal_.ReleaseExclusive();
    } else if (floodBytes_ > 0) {
      output_.Push({OutputChunk{shaper_.RandomBytes(floodBytes_)}});
    }
  }
}

void SimulatorLoop::readCommands() {
  // Client changes first: a client's open is recorded before its first bytes
  // can arrive, so the line has been cleaned for it before its commands are
  // answered, and its replies are never discarded with a departed client's.
  takeClientChanges();
  std::array<char, kReadSize> buffer;
  const ssize_t length = read(terminal_.Master(), buffer.data(), buffer.size());
  if (length < 0) {
    if (WouldBlockOrInterrupted(errno)) return;
    ThrowSystemError("read " + terminal_.ClientPath());
  }
  const Clock::time_point now = Clock::now();
  const auto sinceStart = std::chrono::duration_cast<std::chrono::milliseconds>(now - start_);
  for (const Exchange& exchange :
       interpreter_.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(length)), now)) {
    if (log_) log_->Write(CommandLogLine(sinceStart, exchange.command));
    if (clientPresent()) output_.Push(shaper_.Shape(exchange.reply));
  }
}

void SimulatorLoop::writeDueOutput() {
  while (outputDue()) {
    const std::string_view bytes = output_.Front();
    const ssize_t written = write(terminal_.Master(), bytes.data(), bytes.size());
    if (written < 0) {
      if (WouldBlockOrInterrupted(errno)) return;
      ThrowSystemError("write " + terminal_.ClientPath());
    }
    output_.Consume(static_cast<std::size_t>(written), Clock::now());
  }
}

bool SimulatorLoop::outputDue() const {
  return !output_.Empty() && output_.DueAt() <= Clock::now();
}

int SimulatorLoop::pollTimeoutMs() const {
  // Output that is due waits for the terminal to take it (POLLOUT), not for time.
  if (output_.Empty() || outputDue()) return -1;
  // Rounded up, so the loop never wakes just before the piece is due; never
  // negative, which poll would take as no time limit.
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(output_.DueAt() - Clock::now());
  return static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
}
