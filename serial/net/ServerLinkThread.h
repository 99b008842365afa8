#pragma once
// The status thread of a port on an RFC 2217 server, which also carries the
// line's bytes between the server and the port's own threads: the server's
// bytes are decoded by the telnet session (the line's data goes into the
// socket pair, where the read thread takes it; the server's modem and line
// state become line events on the input queue, as a device's status thread
// reports them), and what the write thread puts into the pair goes to the
// server escaped, with the commands and answers the session queues in
// between. It is the only writer of the server's socket, so a command never
// splits the data. It sleeps in poll() with no time limit; its wake event
// (StatusEvent) brings a command or the stop.
//
// A server that ends the connection, or a link that breaks, is passed on as
// a device that hangs up: the bytes still on their way are delivered, then
// the pair's end is shut, so the read thread ends the port threads as it
// does for an unplugged device.

#include <cstdint>
#include <vector>

#include "serial/SioPosixThread.h"
#include "serial/net/ServerLink.h"

class TServerLinkThread : public TSioPosixThread {
 public:
  // What each side may hold on its way before the link stops taking more
  // from the other.
  static constexpr size_t kHeldBytes = 16 * 1024;

  TServerLinkThread(TSioDescriptorDispatcher& port, ServerLink& link)
      : TSioPosixThread(port), link_(link) {}

 protected:
  void Execute() override;

 private:
  // One poll() over the server, the pair and the wake event, and the work
  // it shows.
  void serve();
  void receiveFromServer();
  void sendToServer();
  void takeFromPort();
  void deliverToPort();
  // Takes the session's queued bytes; under the link's lock.
  void takeOutgoingLocked();
  // The server's news after a Receive: line events on the input queue.
  void reportNews(uint32_t news, uint8_t modemBefore, uint8_t modemNow, uint8_t errors);
  void serverGone();

  ServerLink& link_;
  bool serverOpen_ = true;
  bool suspended_ = false;
  std::vector<uint8_t> toServer_;
  size_t toServerSent_ = 0;
  std::vector<uint8_t> toPort_;
  size_t toPortSent_ = 0;
};
