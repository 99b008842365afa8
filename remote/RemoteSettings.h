#pragma once
// The network server's settings, in a file of their own beside "QV_M.ini", one "key=value"
// per line (blanks around either ignored; empty lines and lines starting with '#' skipped):
//   enabled=on        on or off: whether the panel listens for rotctld clients
//   address=127.0.0.1 the IPv4 or IPv6 address it listens on (0.0.0.0 or :: for every one)
//   port=4533         the TCP port, 1 to 65535 (0: any free port, shown in the dialog)
//   allow=            when listening beyond loopback, the other addresses and prefixes that may
//                     connect (see AddressAllowList); loopback clients always may
//   moves=accept      accept or refuse: whether network clients may move the rotator
// A missing file means these defaults. A line that is no setting, or names an unknown key or
// a bad value, is reported with file, line and reason, and that key keeps its default.

#include <string>
#include <string_view>
#include <vector>

#include "remote/AddressAllowList.h"

inline constexpr const char* kRemoteSettingsFileName = "QV_M_remote.ini";

struct RemoteSettings {
  bool Enabled = true;
  std::string Address = "127.0.0.1";
  int Port = 4533;
  AddressAllowList Allowed;
  bool RefuseMoves = false;

  // Whether clients from other machines can reach the server at all.
  bool BeyondLoopback() const { return !IsLoopbackAddress(Address); }
};

struct RemoteSettingsRead {
  RemoteSettings Settings;
  // One text per bad line: "<path>, line <n>: <reason>"; also one when the file exists but
  // cannot be read.
  std::vector<std::string> Problems;
};

// Reads the settings file at path.
RemoteSettingsRead ReadRemoteSettings(const std::string& path);

// Sets key to value in the file at path: its line is replaced (later lines of the same key
// dropped), or added at the end when it has none; every other line stays as it was. Creates
// the file when missing. Raises EInOutError when it cannot be read or written; the file is
// then unchanged.
void WriteRemoteSetting(const std::string& path, std::string_view key, std::string_view value);

// The texts the file holds for the switches.
inline constexpr std::string_view OnOff(bool on) { return on ? "on" : "off"; }
inline constexpr std::string_view MovesValue(bool refuse) { return refuse ? "refuse" : "accept"; }
