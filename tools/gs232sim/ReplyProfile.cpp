#include "tools/gs232sim/ReplyProfile.h"

#include <array>
#include <cstdio>

namespace {

struct NamedProfile {
  std::string_view name;
  ReplyKind kind;
};

constexpr std::array<NamedProfile, 6> kProfiles{{
    {"standard", ReplyKind::Standard},
    {"no-blanks", ReplyKind::NoBlanks},
    {"four-digit", ReplyKind::FourDigit},
    {"cr-only", ReplyKind::CrOnly},
    {"prompt", ReplyKind::Prompt},
    {"az-only", ReplyKind::AzOnly},
}};

// A position as a fixed number of digits with leading zeros; positions never
// leave 0..450, so the digits always suffice.
std::string digits(int value, int width) {
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), "%0*d", width, value);
  return text.data();
}

}  // namespace

std::optional<ReplyProfile> ReplyProfile::FromName(std::string_view name) {
  for (const NamedProfile& profile : kProfiles) {
    if (profile.name == name) return ReplyProfile(profile.kind);
  }
  return std::nullopt;
}

std::vector<std::string_view> ReplyProfile::Names() {
  std::vector<std::string_view> names;
  for (const NamedProfile& profile : kProfiles) names.push_back(profile.name);
  return names;
}

std::string ReplyProfile::AzimuthReport(int azimuth) const {
  return dataReply(azimuthField(azimuth));
}

std::string ReplyProfile::BothReport(int azimuth, int elevation) const {
  switch (kind_) {
    case ReplyKind::AzOnly:
      return AzimuthReport(azimuth);
    case ReplyKind::NoBlanks:
    case ReplyKind::FourDigit:
      return dataReply(azimuthField(azimuth) + "EL=" + digits(elevation, 3));
    default:
      return dataReply(azimuthField(azimuth) + "  EL=" + digits(elevation, 3));
  }
}

std::string ReplyProfile::ElevationReport(int elevation) const {
  return dataReply("EL=" + digits(elevation, 3));
}

std::string ReplyProfile::azimuthField(int azimuth) const {
  return "AZ=" + digits(azimuth, kind_ == ReplyKind::FourDigit ? 4 : 3);
}

std::string ReplyProfile::dataReply(const std::string& data) const {
  const std::string prompt = kind_ == ReplyKind::Prompt ? "?>" : "";
  const std::string end = kind_ == ReplyKind::CrOnly ? "\r" : "\r\n";
  return prompt + data + end;
}
