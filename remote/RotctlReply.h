#pragma once
// The reply to one request in hamlib 4.5's layout, byte for byte:
//   plain:    each value on a line of its own; "RPRT 0" after a command that gives no values;
//             "RPRT n" alone on failure.
//   extended: first the long name and the arguments as received ("set_pos: 200 30"), then each
//             value labelled ("Azimuth: 200.00"), each record ended by the request's separator,
//             and last "RPRT n" and a newline.

#include <string>
#include <string_view>

#include "remote/RotctlParser.h"

class RotctlReply {
 public:
  explicit RotctlReply(const RotctlRequest& request);

  // A value: "label: text" in an extended reply, text alone in a plain one.
  void Value(std::string_view label, std::string_view text);
  // A value whose plain form is "key=text" (dump_state's limits).
  void Setting(std::string_view label, std::string_view key, std::string_view text);
  // A record written the same in both forms.
  void Record(std::string_view text);

  // The whole reply of a command that succeeded, with the values given.
  std::string Succeeded() const;
  // The whole reply of a command that failed with status (negative); values are left out.
  std::string Failed(int status) const;

 private:
  std::string header() const;
  std::string status(int value) const;

  const RotctlRequest& request_;
  std::string values_;
};
