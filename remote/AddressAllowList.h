#pragma once
// The addresses allowed to connect when the server listens beyond loopback: single IPv4 or
// IPv6 addresses and prefixes ("192.168.1.0/24", "fd00::/8"), separated by commas or blanks.
// An IPv4 address written in IPv6's mapped form ("::ffff:192.168.1.7") counts as that IPv4
// address.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class AddressAllowList {
 public:
  // The list text means; nothing when an entry is no address or prefix (reason says which).
  static std::optional<AddressAllowList> Parse(std::string_view text, std::string& reason);

  // Whether address (a literal IPv4 or IPv6 address) lies in one of the entries.
  bool Allows(std::string_view address) const;
  bool Empty() const { return entries_.empty(); }

 private:
  struct Prefix {
    bool V6;
    std::array<uint8_t, 16> Bytes;
    int Bits;
  };

  std::vector<Prefix> entries_;
};

// Whether text is a literal IPv4 or IPv6 address.
bool IsAddressLiteral(std::string_view text);

// Whether text is a loopback address (127.0.0.0/8, ::1, or 127.x in IPv6's mapped form).
bool IsLoopbackAddress(std::string_view text);
