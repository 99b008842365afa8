#pragma once
// One rotctld client: its parse state, what it asked last, the replies waiting to be sent.
//
// Requests are carried out one after the other, as rotctld does for each client: get_pos,
// get_info and dump_state are answered at once from what the panel knows; set_pos, park, stop
// and move are handed on (submit) and the session takes no further byte until the panel reports
// the command done, so replies keep the order of the requests.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "remote/HubCommand.h"
#include "remote/RemoteRotator.h"
#include "remote/RotctlParser.h"

class RemoteSession {
 public:
  using Submit = std::function<void(const HubCommand&)>;

  RemoteSession(const RemoteRotator& rotator, Submit submit);

  // Reads bytes in order until all are read, a command waits to be done, or the session ends;
  // returns how many it read. The rest is to be given again once Waiting() is false.
  size_t Receive(std::string_view bytes);

  // The submitted command was done with status (RotctlStatus): its reply is written.
  void Completed(int status);

  // True while a submitted command is not yet done.
  bool Waiting() const { return waiting_.has_value(); }
  // True after 'q' (the connection closes once the replies are sent) or a fault (at once).
  bool Ended() const { return ended_; }
  RotctlFault Fault() const { return parser_.Fault(); }

  // The replies written since the last call.
  std::string TakeOutput();

  // The last request read, as the long name and its arguments ("set_pos 200 30").
  const std::string& LastCommand() const { return lastCommand_; }

 private:
  void carryOut(const RotctlRequest& request);
  // Hands command on, or answers at once when the operator refuses moves and it is one.
  void submit(const RotctlRequest& request, const HubCommand& command);
  void answerPosition(const RotctlRequest& request);
  void answerInfo(const RotctlRequest& request);
  void answerDumpState(const RotctlRequest& request);
  void setPosition(const RotctlRequest& request);
  void move(const RotctlRequest& request);

  const RemoteRotator& rotator_;
  Submit submit_;
  RotctlParser parser_;
  std::optional<RotctlRequest> waiting_;
  bool ended_ = false;
  std::string output_;
  std::string lastCommand_;
};
