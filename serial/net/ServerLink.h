#pragma once
// The telnet side of a connection to an RFC 2217 serial server: the TCP
// socket, the telnet session over it, and the local socket pair through
// which the port's read and write threads see nothing but the line's bytes.
// The session is shared: the GUI thread queues commands (line settings,
// DTR, RTS, purges) and reads the server's news, the link thread
// (TServerLinkThread) feeds it the server's bytes and sends what it queues.

#include <mutex>
#include <vector>

#include "serial/Deadline.h"
#include "serial/net/TelnetSession.h"

struct ServerLink {
  ServerLink() = default;
  ~ServerLink();
  ServerLink(const ServerLink&) = delete;
  ServerLink& operator=(const ServerLink&) = delete;

  // Closes the descriptors still open; once the link thread has ended.
  void CloseSockets();

  int Socket = -1;  // to the server
  int Near = -1;    // the port threads' end of the pair
  int Far = -1;     // the link thread's end

  std::mutex Lock;
  TelnetSession Session;  // under Lock

  // The line's bytes the server sent while the session was being agreed;
  // the link thread delivers them first.
  std::vector<uint8_t> Early;
};

// Agrees the telnet session on link.Socket before the deadline: the opening
// requests sent, the server's bytes read and answered until it agreed to or
// refused the COM-PORT-OPTION (a refusal leaves a plain telnet link whose
// line settings stay with the server). 0, EBUSY when the server ended the
// connection first (it serves someone else), ETIMEDOUT when it did not
// answer in time, or the error number of the socket.
int AgreeSession(ServerLink& link, const Deadline& deadline);

// Makes the socket pair (non-blocking, closed on exec): 0, or the error
// number.
int OpenLinkPair(ServerLink& link);
