#pragma once
// A serial server on the network, as the target of a COMn link names it:
// "tcp://HOST:PORT" for a server that passes the line's bytes unchanged (a
// raw TCP port, as ser2net's tcp accepter and most adapters offer) or
// "rfc2217://HOST:PORT" for telnet with the COM-PORT-OPTION of RFC 2217.
// HOST is a host name, an IPv4 address or an IPv6 address in brackets
// ("[::1]", "[fe80::1%eth0]"); PORT is 1 to 65535.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class NetProtocol { RawTcp, Rfc2217 };

struct NetTarget {
  NetProtocol Protocol = NetProtocol::RawTcp;
  std::string Host;  // without the brackets of an IPv6 address
  uint16_t Port = 0;

  bool operator==(const NetTarget&) const = default;
};

// The server text names, or none when it is no such URL (anything after
// the port, an empty or malformed host, a port out of range).
std::optional<NetTarget> ParseNetTarget(std::string_view text);
