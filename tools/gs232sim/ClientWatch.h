#pragma once
// Notices clients opening and closing the terminal, by watching its device
// node for open and close events. Counting them tells when the first client
// arrives and when the last one has gone.

#include <string>
#include <vector>

#include "tools/gs232sim/UniqueFd.h"

enum class ClientChange { FirstArrived, LastLeft };

class ClientWatch {
 public:
  // Starts watching path. Must be created after the simulator's own
  // descriptor of the terminal was opened, so that one is not counted.
  // Throws std::system_error when the watch cannot be set up.
  explicit ClientWatch(const std::string& path);

  // Readable when events wait.
  int Fd() const { return inotify_.Get(); }
  bool Connected() const { return openCount_ > 0; }

  // Reads every waiting event without blocking and returns the changes they
  // make, in order. Throws std::system_error, or std::runtime_error when the
  // watched node went away.
  std::vector<ClientChange> TakeChanges();

 private:
  void apply(unsigned mask, std::vector<ClientChange>& changes);

  UniqueFd inotify_;
  int openCount_ = 0;
};
