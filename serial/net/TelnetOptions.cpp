#include "serial/net/TelnetOptions.h"

#include "serial/net/TelnetCodes.h"

namespace {

void append(std::vector<uint8_t>& out, uint8_t verb, uint8_t option) {
  out.insert(out.end(), {telnet::kIac, verb, option});
}

}  // namespace

TelnetOptions::TelnetOptions(std::initializer_list<uint8_t> local,
                             std::initializer_list<uint8_t> remote) {
  for (const uint8_t option : local) localAccepted_.set(option);
  for (const uint8_t option : remote) remoteAccepted_.set(option);
}

void TelnetOptions::Request(Side side, uint8_t option, std::vector<uint8_t>& out) {
  State& state = states(side)[option];
  if (state != State::No) return;
  state = State::Asked;
  append(out, side == Side::Local ? telnet::kWill : telnet::kDo, option);
}

void TelnetOptions::Receive(uint8_t verb, uint8_t option, std::vector<uint8_t>& out) {
  switch (verb) {
    case telnet::kWill:
      peerSays(Side::Remote, option, true, out);
      break;
    case telnet::kWont:
      peerSays(Side::Remote, option, false, out);
      break;
    case telnet::kDo:
      peerSays(Side::Local, option, true, out);
      break;
    case telnet::kDont:
      peerSays(Side::Local, option, false, out);
      break;
    default:
      break;
  }
}

void TelnetOptions::peerSays(Side side, uint8_t option, bool enable, std::vector<uint8_t>& out) {
  State& state = states(side)[option];
  const bool local = side == Side::Local;
  if (state == State::Asked) {
    // The answer to this end's request: nothing more to say.
    state = enable ? State::Yes : State::No;
    return;
  }
  if (enable == (state == State::Yes)) return;
  const bool accepted = local ? localAccepted_.test(option) : remoteAccepted_.test(option);
  if (enable && accepted) {
    state = State::Yes;
    append(out, local ? telnet::kWill : telnet::kDo, option);
  } else if (enable) {
    append(out, local ? telnet::kWont : telnet::kDont, option);
  } else {
    state = State::No;
    append(out, local ? telnet::kWont : telnet::kDont, option);
  }
}

bool TelnetOptions::Enabled(Side side, uint8_t option) const {
  return states(side)[option] == State::Yes;
}

bool TelnetOptions::Asked(Side side, uint8_t option) const {
  return states(side)[option] == State::Asked;
}
