#pragma once
// Both ends' telnet options on one connection, negotiated by the rules of
// RFC 1143: a request is answered only when it changes an option's state,
// so no request is answered twice and no negotiation loops. This end never
// turns an option off by itself; it offers or asks for the options it
// wants and refuses every other.

#include <array>
#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <vector>

class TelnetOptions {
 public:
  // This end (WILL, WONT; the peer says DO, DONT) or the peer (the reverse).
  enum class Side { Local, Remote };

  // The options this end performs when asked, and those it lets the peer
  // perform.
  TelnetOptions(std::initializer_list<uint8_t> local, std::initializer_list<uint8_t> remote);

  // Offers (Local: WILL) or asks for (Remote: DO) option, appending the
  // request to out, unless it is on already or asked for.
  void Request(Side side, uint8_t option, std::vector<uint8_t>& out);

  // The peer's verb (telnet::kWill, kWont, kDo, kDont) for option; the
  // answer, when one is due, is appended to out.
  void Receive(uint8_t verb, uint8_t option, std::vector<uint8_t>& out);

  bool Enabled(Side side, uint8_t option) const;
  // A request of this end for option that the peer has not answered yet.
  bool Asked(Side side, uint8_t option) const;

 private:
  enum class State : uint8_t { No, Yes, Asked };
  using States = std::array<State, 256>;

  // The peer asked for (enable) or refused (disable) option on side.
  void peerSays(Side side, uint8_t option, bool enable, std::vector<uint8_t>& out);
  States& states(Side side) { return side == Side::Local ? local_ : remote_; }
  const States& states(Side side) const { return side == Side::Local ? local_ : remote_; }

  States local_{};
  States remote_{};
  std::bitset<256> localAccepted_;
  std::bitset<256> remoteAccepted_;
};
