#pragma once
// A small TCP server on the loopback (127.0.0.1 or ::1) for the network
// port's tests: it accepts connections one after the other and hands each to
// the test's own serve function on the server's thread, which plays the
// server (answers, stalls, garbage, hanging up). Whatever a connection
// received is kept in its transcript, which the test thread may read while it
// is served.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/WakeEvent.h"

// The bytes a server received on its connections, in order, shared with the
// test thread.
class Transcript {
 public:
  void Append(const uint8_t* bytes, size_t count);
  void MarkClosed();
  std::vector<uint8_t> Bytes();
  // Whether the client closed the connection it served.
  bool Closed();
  // Waits (bounded) until the bytes hold sequence; whether they came to.
  bool WaitForSequence(const std::vector<uint8_t>& sequence,
                       std::chrono::milliseconds bound = std::chrono::seconds(10));
  bool WaitForClose(std::chrono::milliseconds bound = std::chrono::seconds(10));

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<uint8_t> bytes_;
  bool closed_ = false;
};

// One accepted connection, on the server's thread.
class ServerConnection {
 public:
  ServerConnection(int socket, WakeEvent& stop, Transcript& transcript)
      : socket_(socket), stop_(stop), transcript_(transcript) {}

  bool Send(const std::vector<uint8_t>& bytes);
  // Reads into the transcript until it holds sequence; false when the
  // client closed, the server stops or the bound passed first.
  bool ReadUntil(const std::vector<uint8_t>& sequence,
                 std::chrono::milliseconds bound = std::chrono::seconds(10));
  // Reads into the transcript until the client closes or the server stops.
  void ReadToEnd();
  // Waits, reading nothing, until the server stops.
  void Stall();
  // Sends the telnet agreement an RFC 2217 server gives: DO COM-PORT-OPTION,
  // binary both ways.
  bool AgreeComPort();

 private:
  // Reads once into the transcript within bound: false at the end.
  bool readSome(std::chrono::milliseconds bound);

  int socket_;
  WakeEvent& stop_;
  Transcript& transcript_;
};

class LoopbackServer {
 public:
  using Serve = std::function<void(ServerConnection&)>;
  enum class Family { Ipv4, Ipv6 };

  explicit LoopbackServer(Serve serve, Family family = Family::Ipv4);
  // Stops serving (a connection being served sees Stall and reads end) and
  // closes every socket.
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  uint16_t Port() const { return port_; }
  // "scheme://127.0.0.1:PORT" or "scheme://[::1]:PORT".
  std::string Url(const std::string& scheme) const;
  Transcript& Received() { return transcript_; }
  int Accepted() const { return accepted_.load(); }

 private:
  void run();

  Serve serve_;
  Family family_;
  int listener_ = -1;
  uint16_t port_ = 0;
  WakeEvent stop_;
  Transcript transcript_;
  std::atomic<int> accepted_{0};
  std::thread thread_;
};

// The telnet bytes IAC SB COM-PORT-OPTION command value... IAC SE.
std::vector<uint8_t> ComPortMessage(uint8_t command, const std::vector<uint8_t>& value);
