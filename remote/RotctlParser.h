#pragma once
// Reads one rotctld client's character stream into requests, byte by byte, as hamlib 4.5's
// rotctld reads it:
//  - a request starts with an optional '+' (extended reply, records ended by a newline), then an
//    optional punctuation character other than '\', '_' and '#' (extended reply, records ended
//    by that character), then the command: one character, or '\' and a long name of letters,
//    digits and '_', ended by the next character, which is consumed;
//  - its arguments follow, each a run of non-blank bytes after any white space, line ends
//    included; when the first argument starts with '?' no further one is read; send_cmd takes
//    the rest of the line (the next line when nothing follows it on its own);
//  - blanks and line ends between requests are skipped, '#' starts a comment that ends with the
//    line, 'q' or 'Q' ends the session, and any other character is an unknown command, skipped
//    without an answer.
//
// Beyond hamlib, limits that keep what one client can make the hub hold to a few kilobytes and
// end a stream of noise: a byte that no rotctld text holds (a control character other than
// white space, or anything beyond ASCII), an argument longer than 127 bytes (hamlib's own
// buffer, which hamlib overruns), a line longer than 4096 bytes, or 64 unknown commands in a
// row is a fault that ends the session.

#include <cstddef>
#include <string>
#include <vector>

#include "remote/RotctlCommandTable.h"

struct RotctlRequest {
  const RotctlCommand* Command = nullptr;
  // Extended Response Protocol: a header echoing the request, labelled values, "RPRT n" last.
  bool Extended = false;
  // What ends each record of an extended reply.
  char Separator = '\n';
  std::vector<std::string> Arguments;
};

enum class RotctlFault {
  None,
  ArgumentTooLong,
  LineTooLong,
  Garbage,
};

class RotctlParser {
 public:
  static constexpr size_t kLongestArgument = 127;
  static constexpr size_t kLongestLine = 4096;
  static constexpr size_t kLongestName = 32;
  static constexpr int kUnknownInARow = 64;

  enum class Step {
    // Nothing complete yet.
    More,
    // Request() holds a complete request.
    Complete,
    // 'q' or 'Q': the client ends the session.
    Quit,
    // The stream broke a limit (Fault() says which); every later byte is refused the same way.
    Failed,
  };

  Step Take(char byte);

  // The request the last Take returning Complete finished; valid until the next Take.
  const RotctlRequest& Request() const { return request_; }
  RotctlFault Fault() const { return fault_; }

 private:
  enum class State {
    Command,
    AfterPlus,
    AfterSeparator,
    LongName,
    Comment,
    ArgumentGap,
    Argument,
    LineArgument,
    Failed,
  };

  Step atCommand(char byte);
  Step afterPlus(char byte);
  Step commandName(char byte);
  Step longName(char byte);
  Step argumentGap(char byte);
  Step argument(char byte);
  Step lineArgument(char byte);
  Step begin(const RotctlCommand* command);
  Step unknown(char byte);
  Step fail(RotctlFault fault);

  State state_ = State::Command;
  RotctlRequest request_;
  std::string token_;
  bool nameTooLong_ = false;
  bool emptyLineSkipped_ = false;
  size_t lineLength_ = 0;
  int unknownInARow_ = 0;
  RotctlFault fault_ = RotctlFault::None;
};
