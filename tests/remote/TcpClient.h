#pragma once
// A rotctld client for the tests: a plain blocking TCP connection to 127.0.0.1, as the trackers
// open one, with reads bounded by deadlines.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "serial/Deadline.h"

// A TCP port on 127.0.0.1 that was free a moment ago (the system picked it).
uint16_t FreeLoopbackPort();

// An IPv4 address of this machine other than loopback, if it has one.
std::optional<std::string> OwnNetworkAddress();

class TcpClient {
 public:
  // Connects to address:port (127.0.0.1 unless given; IPv4), trying again until deadline while
  // nothing listens there yet. Throws std::runtime_error when it cannot.
  TcpClient(uint16_t port, const Deadline& deadline);
  TcpClient(const std::string& address, uint16_t port, const Deadline& deadline);
  TcpClient(const TcpClient&) = delete;
  TcpClient& operator=(const TcpClient&) = delete;
  ~TcpClient();

  // Writes all of bytes; false when the connection refuses them.
  bool Send(const std::string& bytes);
  // One read, as a tracker's single recv: what arrived, waiting at most until deadline; empty
  // at the deadline, nothing once the server closed the connection.
  std::optional<std::string> ReadOnce(const Deadline& deadline);
  // Reads until what arrived since the call satisfies done, the deadline passes or the
  // server closes the connection; returns what arrived.
  std::string ReadUntil(const std::function<bool(const std::string&)>& done,
                        const Deadline& deadline);
  // Whether the server closed the connection, seen within deadline (bytes still arriving are
  // read and dropped).
  bool ClosedByServer(const Deadline& deadline);
  // Ends the connection at once, with a reset (SO_LINGER 0), as a client that dies does.
  void Abort();

 private:
  int fd_ = -1;
};
