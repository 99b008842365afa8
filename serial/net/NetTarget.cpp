#include "serial/net/NetTarget.h"

#include <cctype>
#include <charconv>

namespace {

constexpr std::string_view kRawScheme = "tcp://";
constexpr std::string_view kRfc2217Scheme = "rfc2217://";
// The longest host name DNS can carry.
constexpr size_t kMaxHostLength = 253;

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool nameCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '.' || c == '_';
}

// Hexadecimal groups and colons, an IPv4 tail, a zone after '%'.
bool addressCharacter(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0 || c == ':' || c == '.';
}

bool validName(std::string_view host) {
  if (host.empty() || host.size() > kMaxHostLength) return false;
  for (const char c : host) {
    if (!nameCharacter(c)) return false;
  }
  return true;
}

bool validIpv6(std::string_view host) {
  const size_t zone = host.find('%');
  const std::string_view address = host.substr(0, zone);
  if (address.find(':') == std::string_view::npos) return false;
  for (const char c : address) {
    if (!addressCharacter(c)) return false;
  }
  if (zone == std::string_view::npos) return true;
  return validName(host.substr(zone + 1));
}

std::optional<uint16_t> portOf(std::string_view digits) {
  uint32_t port = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, port);
  if (digits.empty() || error != std::errc() || stop != end || port == 0 || port > 65535) {
    return std::nullopt;
  }
  return static_cast<uint16_t>(port);
}

}  // namespace

std::optional<NetTarget> ParseNetTarget(std::string_view text) {
  NetTarget target;
  if (startsWith(text, kRawScheme)) {
    target.Protocol = NetProtocol::RawTcp;
    text.remove_prefix(kRawScheme.size());
  } else if (startsWith(text, kRfc2217Scheme)) {
    target.Protocol = NetProtocol::Rfc2217;
    text.remove_prefix(kRfc2217Scheme.size());
  } else {
    return std::nullopt;
  }
  const size_t colon = text.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view host = text.substr(0, colon);
  const std::optional<uint16_t> port = portOf(text.substr(colon + 1));
  if (!port) return std::nullopt;
  if (startsWith(host, "[")) {
    if (host.size() < 2 || host.back() != ']') return std::nullopt;
    host = host.substr(1, host.size() - 2);
    if (!validIpv6(host)) return std::nullopt;
  } else if (!validName(host)) {
    return std::nullopt;
  }
  target.Host = std::string(host);
  target.Port = *port;
  return target;
}
