#pragma once
// The serial dispatcher on a serial server across the network: the platform
// operations under TSioBaseDispatcher for a port whose COMn link names
// "tcp://HOST:PORT" or "rfc2217://HOST:PORT" (see NetTarget), with the same
// read, write and dispatch threads as a terminal, so the component, its
// events and its codes do not change.
//
// Opening connects within kConnectBound: a host that does not resolve, a
// refused or unreachable server and a time-out are "no such port" (-2); a
// server that ends the connection at once (a server of one user turning
// away a second) is "in use" (-5). The socket keeps the link alive, so a
// dead link ends the connection (see ServerConnect).
//
// Raw TCP: the read and write threads work on the socket itself; the line's
// bytes pass unchanged, and the line settings are checked and kept, for the
// far end owns the line. RFC 2217: the telnet session is agreed while the
// port opens; the line settings, DTR and RTS go to the server as COM-PORT
// commands, and the status thread (TServerLinkThread) carries the bytes and
// reports the server's modem and line state as a device's status thread
// does. A connection that ends or breaks ends the port threads, and the port
// is lost (PORT_LOST), as with an unplugged device.

#include <atomic>
#include <memory>
#include <mutex>

#include "serial/Dcb.h"
#include "serial/SioDescriptorDispatcher.h"
#include "serial/net/NetTarget.h"
#include "serial/net/ServerLink.h"

class TSioNetDispatcher : public TSioDescriptorDispatcher {
 public:
  // The longest an open waits for the server: name, connection and, with
  // RFC 2217, the session's agreement.
  static constexpr std::chrono::milliseconds kConnectBound{3000};

  explicit TSioNetDispatcher(TSioBaseComponent* owner);
  ~TSioNetDispatcher() override;

  // 0 whatever happened; escapes 3 to 6 send RTS and DTR to an RFC 2217
  // server.
  int32_t SendLineEscape(int32_t func) override;
  // Drops what the port holds; an RFC 2217 server is asked to drop its data
  // of that direction too.
  int32_t PurgeDeviceQueue(int32_t which) override;
  // The line errors an RFC 2217 server notified since the last call;
  // cbOutQue counts what is not yet sent (UnsentOutputCount).
  int32_t CollectLineErrors(ComStat& status) override;
  // The settings last applied; before any, a line with rate 0, so the first
  // configuration is always sent.
  int32_t FetchLineSettings(Dcb& dcb) override;
  // Refuses (-EINVAL's code) what no serial line does; keeps the rest and,
  // with RFC 2217, sends what changed to the server.
  int32_t ApplyLineSettings(Dcb& dcb) override;
  // -1 on failure, with SioLastError set to the mapped error (2 no such
  // port, 5 in use, else the error number).
  intptr_t OpenDevice(const char* name, int32_t inSize, int32_t outSize) override;
  // The lines of the server's last NOTIFY-MODEMSTATE; 0 for raw TCP.
  uint8_t ReadModemLines() override;
  // The threads start with SIGPIPE blocked: a write to a connection the
  // server reset fails with EPIPE instead of ending the program.
  void StartPortThreads() override;

  // The protocol of the open connection.
  NetProtocol Protocol() const { return protocol_; }
  // The line settings the RFC 2217 server reports having.
  TelnetSession::ServerLine ServerLineSettings();
  // The socket to the server, -1 when none is open.
  int ServerSocket() const;

 protected:
  std::unique_ptr<TSioDispatcherThread> CreateStatusThread() override;
  int32_t ReleaseDevice(int device) override;

 private:
  // Connects (and agrees the session): 0, or the error number.
  int connect(const NetTarget& target);
  // Runs task on the session under its lock and wakes the link thread.
  template <typename Task>
  void tellServer(Task task);

  NetProtocol protocol_ = NetProtocol::RawTcp;
  // RFC 2217 only.
  std::unique_ptr<ServerLink> link_;

  std::mutex lineLock_;
  Dcb keptLine_;
};
