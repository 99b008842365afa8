#pragma once
// A TCP listener on 127.0.0.1 that never accepts, its queue filled: a new
// connection to it gets no answer at all, as from a host gone dark.

#include <cstdint>
#include <string>
#include <vector>

class UnansweredListener {
 public:
  // On port, or on one the system picks (0).
  explicit UnansweredListener(uint16_t port = 0);
  ~UnansweredListener();
  UnansweredListener(const UnansweredListener&) = delete;
  UnansweredListener& operator=(const UnansweredListener&) = delete;

  // Whether it listens and new connections go unanswered.
  bool Full() const { return full_; }
  uint16_t Port() const { return port_; }
  // "scheme://127.0.0.1:PORT".
  std::string Url(const std::string& scheme) const;

 private:
  int listener_ = -1;
  uint16_t port_ = 0;
  bool full_ = false;
  std::vector<int> fillers_;
};
