#pragma once
// Debian's ser2net in front of a serial device for one test: its own
// configuration file in a directory of its own, one accepter on 127.0.0.1 and
// a free port, raw TCP or telnet with RFC 2217; in the foreground, ended when
// the object goes. Throws std::runtime_error when it does not listen.

#include <cstdint>
#include <memory>
#include <string>

#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/ChildProcess.h"

class Ser2netProcess {
 public:
  enum class Accepter { RawTcp, Rfc2217 };

  // charDelay false: bytes from the device go on at once, instead of after
  // ser2net's usual wait for two more characters (at least 1 ms).
  Ser2netProcess(const std::string& device, Accepter accepter, bool charDelay = true);

  uint16_t Port() const { return port_; }
  // What a COMn link names to reach it: "tcp://127.0.0.1:PORT" or
  // "rfc2217://127.0.0.1:PORT".
  std::string Url() const;

  // Ends it (its users lose their connections) and starts it again on the
  // same port.
  void Stop();
  void Start();

 private:
  TemporaryDirectory directory_;
  Accepter accepter_;
  uint16_t port_ = 0;
  std::unique_ptr<ChildProcess> process_;
};
