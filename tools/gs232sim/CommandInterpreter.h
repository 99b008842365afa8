#pragma once
// The controller's command line: splits the received bytes into commands at
// CR, carries each out on the motion model and answers it the way a GS-232B
// controller does. Pure: bytes and the time in, commands and replies out.
//
// Replies: every command is acknowledged with CR; C, C2 and B answer their
// report instead (see ReplyProfile); anything not understood, an empty line
// included, answers "?>" CR. LF is ignored wherever it appears and letters
// may be of either case.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/gs232sim/MotionModel.h"
#include "tools/gs232sim/ReplyProfile.h"

// One command as received (terminating CR included, LFs left out) and the
// reply it earned.
struct Exchange {
  std::string command;
  std::string reply;
};

class CommandInterpreter {
 public:
  // Bytes of one command kept, CR included; the rest of a longer line is
  // dropped (such a line is never understood anyway).
  static constexpr std::size_t kMaxCommandLength = 256;
  static constexpr std::string_view kAcknowledge = "\r";
  static constexpr std::string_view kRejection = "?>\r";

  CommandInterpreter(MotionModel& motion, ReplyProfile profile);

  // Takes received bytes and returns the commands they completed, in order;
  // an unfinished command waits for the next bytes.
  std::vector<Exchange> Feed(std::string_view bytes, MotionModel::Clock::time_point now);

 private:
  std::string execute(std::string_view command, MotionModel::Clock::time_point now);
  std::string positionReply(std::string_view command) const;
  bool executeMotion(std::string_view command);

  MotionModel& motion_;
  ReplyProfile profile_;
  std::string pending_;
};
