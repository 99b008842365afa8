#pragma once
// A symbolic link that gives the terminal a stable name (e.g. demo/COM1) for
// as long as the simulator runs.

#include <string>

class PortLink {
 public:
  // Makes linkPath point to target, replacing a symbolic link already there.
  // Refuses (std::runtime_error) to replace anything else; throws
  // std::system_error when the link cannot be made.
  PortLink(std::string linkPath, std::string target);
  PortLink(const PortLink&) = delete;
  PortLink& operator=(const PortLink&) = delete;
  // Removes the link, unless it has meanwhile been pointed elsewhere.
  ~PortLink();

 private:
  std::string linkPath_;
  std::string target_;
};
