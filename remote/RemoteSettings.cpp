#include "remote/RemoteSettings.h"

#include <charconv>
#include <exception>
#include <optional>

#include "app/FileReplacement.h"
#include "app/FileSystem.h"
#include "app/TextFileReader.h"
#include "remote/Joined.h"

namespace {

constexpr int kHighestPort = 65535;

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool skipped(std::string_view line) { return line.empty() || line.front() == '#'; }

std::string_view keyOf(std::string_view line) {
  const size_t equals = line.find('=');
  return equals == std::string_view::npos ? std::string_view{} : trimmed(line.substr(0, equals));
}

std::string quoted(std::string_view value) { return Joined({"\"", value, "\""}); }

std::optional<bool> choice(std::string_view value, std::string_view yes, std::string_view no) {
  if (value == yes) return true;
  if (value == no) return false;
  return std::nullopt;
}

// Applies one key's value; the reason when it is not one the key takes.
std::optional<std::string> apply(std::string_view key, std::string_view value,
                                 RemoteSettings& settings) {
  if (key == "enabled") {
    const std::optional<bool> on = choice(value, "on", "off");
    if (!on) return Joined({"enabled: ", quoted(value), " is neither on nor off"});
    settings.Enabled = *on;
  } else if (key == "address") {
    if (!IsAddressLiteral(value))
      return Joined({"address: ", quoted(value), " is no IPv4 or IPv6 address"});
    settings.Address = std::string(value);
  } else if (key == "port") {
    int port = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
    if (error != std::errc{} || end != value.data() + value.size() || port < 0 ||
        port > kHighestPort) {
      return Joined({"port: ", quoted(value), " is no number from 0 to 65535"});
    }
    settings.Port = port;
  } else if (key == "allow") {
    std::string reason;
    std::optional<AddressAllowList> allowed = AddressAllowList::Parse(value, reason);
    if (!allowed) return Joined({"allow: ", reason});
    settings.Allowed = std::move(*allowed);
  } else if (key == "moves") {
    const std::optional<bool> refuse = choice(value, "refuse", "accept");
    if (!refuse) return Joined({"moves: ", quoted(value), " is neither accept nor refuse"});
    settings.RefuseMoves = *refuse;
  } else {
    return Joined({"unknown key ", quoted(key)});
  }
  return std::nullopt;
}

std::vector<std::string> linesOf(const std::string& path) {
  std::vector<std::string> lines;
  TextFileReader reader(path);
  while (!reader.AtEnd()) lines.push_back(reader.ReadLine());
  return lines;
}

}  // namespace

RemoteSettingsRead ReadRemoteSettings(const std::string& path) {
  RemoteSettingsRead read;
  if (!FileExists(path)) return read;
  std::vector<std::string> lines;
  try {
    lines = linesOf(path);
  } catch (const std::exception& error) {
    read.Problems.push_back(path + ": " + error.what());
    return read;
  }
  for (size_t number = 1; number <= lines.size(); ++number) {
    const std::string_view line = trimmed(lines[number - 1]);
    if (skipped(line)) continue;
    const size_t equals = line.find('=');
    const std::optional<std::string> problem =
        equals == std::string_view::npos
            ? std::optional<std::string>("no key=value setting")
            : apply(keyOf(line), trimmed(line.substr(equals + 1)), read.Settings);
    if (problem) {
      read.Problems.push_back(Joined({path, ", line ", std::to_string(number), ": ", *problem}));
    }
  }
  return read;
}

void WriteRemoteSetting(const std::string& path, std::string_view key, std::string_view value) {
  const std::string setting = Joined({key, "=", value});
  std::vector<std::string> lines = FileExists(path) ? linesOf(path) : std::vector<std::string>{};
  std::string content;
  bool written = false;
  for (const std::string& line : lines) {
    if (!skipped(trimmed(line)) && keyOf(line) == key) {
      if (written) continue;
      content += setting + "\r\n";
      written = true;
    } else {
      content += line + "\r\n";
    }
  }
  if (!written) content += setting + "\r\n";
  ReplaceFileContent(path, content);
}
