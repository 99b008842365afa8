#include "remote/AddressAllowList.h"

#include <algorithm>
#include <charconv>

#include "remote/AddressText.h"
#include "remote/Joined.h"

namespace {

constexpr int kV4Bits = 32;
constexpr int kV6Bits = 128;

struct Address {
  bool V6 = false;
  std::array<uint8_t, 16> Bytes{};
};

// An IPv4-mapped IPv6 address as the IPv4 address it maps.
Address unmapped(const Address& address) {
  static constexpr std::array<uint8_t, 12> kMappedPrefix{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
  if (!address.V6 ||
      !std::equal(kMappedPrefix.begin(), kMappedPrefix.end(), address.Bytes.begin())) {
    return address;
  }
  Address v4;
  std::copy(address.Bytes.begin() + 12, address.Bytes.end(), v4.Bytes.begin());
  return v4;
}

std::optional<Address> parseAddress(std::string_view text) {
  // inet_pton needs a terminated string; no address literal is longer than this.
  if (text.empty() || text.size() > 45) return std::nullopt;
  const std::string terminated(text);
  Address address;
  if (ReadIpv4Literal(terminated.c_str(), address.Bytes.data())) return address;
  address.V6 = true;
  if (ReadIpv6Literal(terminated.c_str(), address.Bytes.data())) return unmapped(address);
  return std::nullopt;
}

bool matches(const Address& address, bool v6, const std::array<uint8_t, 16>& bytes, int bits) {
  if (address.V6 != v6) return false;
  for (int bit = 0; bit < bits; ++bit) {
    const uint8_t mask = static_cast<uint8_t>(0x80 >> (bit % 8));
    if ((address.Bytes[bit / 8] & mask) != (bytes[bit / 8] & mask)) return false;
  }
  return true;
}

bool isListSeparator(char c) { return c == ',' || c == ' ' || c == '\t'; }

}  // namespace

std::optional<AddressAllowList> AddressAllowList::Parse(std::string_view text,
                                                        std::string& reason) {
  AddressAllowList list;
  size_t next = 0;
  while (next < text.size()) {
    if (isListSeparator(text[next])) {
      ++next;
      continue;
    }
    size_t end = next;
    while (end < text.size() && !isListSeparator(text[end])) ++end;
    const std::string_view entry = text.substr(next, end - next);
    next = end;
    const size_t slash = entry.find('/');
    const std::optional<Address> address = parseAddress(entry.substr(0, slash));
    if (!address) {
      reason = Joined({"\"", entry, "\" is no IPv4 or IPv6 address"});
      return std::nullopt;
    }
    const int widest = address->V6 ? kV6Bits : kV4Bits;
    int bits = widest;
    if (slash != std::string_view::npos) {
      const std::string_view digits = entry.substr(slash + 1);
      const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), bits);
      if (error != std::errc{} || end != digits.data() + digits.size() || bits < 0 ||
          bits > widest) {
        reason =
            Joined({"\"", entry, "\" has no prefix length from 0 to ", std::to_string(widest)});
        return std::nullopt;
      }
    }
    list.entries_.push_back({address->V6, address->Bytes, bits});
  }
  return list;
}

bool AddressAllowList::Allows(std::string_view address) const {
  const std::optional<Address> parsed = parseAddress(address);
  if (!parsed) return false;
  for (const Prefix& entry : entries_) {
    if (matches(*parsed, entry.V6, entry.Bytes, entry.Bits)) return true;
  }
  return false;
}

bool IsAddressLiteral(std::string_view text) { return parseAddress(text).has_value(); }

bool IsLoopbackAddress(std::string_view text) {
  const std::optional<Address> address = parseAddress(text);
  if (!address) return false;
  if (!address->V6) return address->Bytes[0] == 127;
  static constexpr std::array<uint8_t, 16> kLoopback6{0, 0, 0, 0, 0, 0, 0, 0,
                                                      0, 0, 0, 0, 0, 0, 0, 1};
  return address->Bytes == kLoopback6;
}
