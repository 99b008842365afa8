#pragma once
// How the position reports of a controller look. Real controllers differ in
// blanks, digit counts, line ends and prompts; each profile is one of them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ReplyKind {
  Standard,   // "AZ=aaa  EL=eee" CR LF
  NoBlanks,   // C2 without the two blanks: "AZ=aaaEL=eee" CR LF
  FourDigit,  // four-digit azimuth, no blanks: "AZ=aaaaEL=eee" CR LF, C "AZ=aaaa" CR LF
  CrOnly,     // data replies end with CR only
  Prompt,     // "?>" before every data reply
  AzOnly,     // C2 answered like C
};

class ReplyProfile {
 public:
  explicit ReplyProfile(ReplyKind kind = ReplyKind::Standard) : kind_(kind) {}

  // The profile of a name as given on the command line ("standard", "no-blanks", ...).
  static std::optional<ReplyProfile> FromName(std::string_view name);
  // Every profile name, in the order of ReplyKind.
  static std::vector<std::string_view> Names();

  ReplyKind Kind() const { return kind_; }

  // The complete replies, line end included, to C, C2 and B.
  std::string AzimuthReport(int azimuth) const;
  std::string BothReport(int azimuth, int elevation) const;
  std::string ElevationReport(int elevation) const;

 private:
  std::string azimuthField(int azimuth) const;
  std::string dataReply(const std::string& data) const;

  ReplyKind kind_;
};
