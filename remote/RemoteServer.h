#pragma once
// The network edge of the hub: a TCP server on the GUI thread whose connections feed the
// hub's sessions and carry their replies back.
//
// Bounds, so that no client can slow the others or the panel: each connection's unread input is
// held up to kReadBufferBytes (beyond it TCP makes the client wait), at most kTurnBytes are read
// from one client before the others get their turn, and a client whose unsent replies pass
// kPendingOutputBytes (it stopped reading) is dropped, as is one whose stream breaks the
// parser's limits. Connections beyond the hub's client limit, and from addresses the settings
// do not allow, are closed at once.

#include <QDateTime>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

#include <map>
#include <vector>

#include "remote/RemoteClientRow.h"
#include "remote/RemoteHub.h"
#include "remote/RemoteSettings.h"

class RemoteServer : public QObject {
 public:
  static constexpr qint64 kReadBufferBytes = 16 * 1024;
  static constexpr qint64 kTurnBytes = 4 * 1024;
  static constexpr qint64 kPendingOutputBytes = 64 * 1024;

  explicit RemoteServer(RemoteHub& hub, QObject* parent = nullptr);
  ~RemoteServer() override;

  // Listens as settings say, after closing what was open. Returns the reason it cannot (the
  // system's words), empty when it listens.
  QString Listen(const RemoteSettings& settings);
  // Stops listening and drops every client.
  void Close();
  bool IsListening() const { return server_.isListening(); }
  // "127.0.0.1:4533" while listening.
  QString ListeningAddress() const;

  // Goes on with client after the hub wrote a reply for it: sends what waits, reads on.
  void Serve(RemoteHub::ClientId client);

  std::vector<RemoteClientRow> Clients() const;
  // Connections closed by the server: dropped for a fault, refused when full or not allowed.
  int Dropped() const { return dropped_; }
  int Refused() const { return refused_; }
  // Why the last client was dropped, with its address.
  const QString& LastDrop() const { return lastDrop_; }

 private:
  struct Client {
    QTcpSocket* Socket;
    QString Peer;
    QDateTime Since;
  };

  void accept();
  bool allowed(const QHostAddress& peer) const;
  // Sends the session's replies; false when the client had to be dropped for them.
  bool flush(RemoteHub::ClientId client, Client& entry, RemoteSession& session);
  void drop(RemoteHub::ClientId client, const QString& reason);

  RemoteHub& hub_;
  QTcpServer server_;
  RemoteSettings settings_;
  std::map<RemoteHub::ClientId, Client> clients_;
  int dropped_ = 0;
  int refused_ = 0;
  QString lastDrop_;
};
