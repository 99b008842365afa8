#include "remote/RemoteServer.h"

#include <QTimer>

#include <string_view>

namespace {

QString faultText(RotctlFault fault) {
  switch (fault) {
    case RotctlFault::ArgumentTooLong:
      return QStringLiteral("an argument longer than 127 bytes");
    case RotctlFault::LineTooLong:
      return QStringLiteral("a line longer than 4096 bytes");
    case RotctlFault::Garbage:
      return QStringLiteral("64 unknown commands in a row");
    case RotctlFault::None:
      break;
  }
  return {};
}

// The address as the settings and the operator write it: an IPv4 client of a dual-stack
// socket as its IPv4 address.
QHostAddress plain(const QHostAddress& address) {
  bool v4 = false;
  const quint32 ipv4 = address.toIPv4Address(&v4);
  return v4 ? QHostAddress(ipv4) : address;
}

QString endpoint(const QHostAddress& address, quint16 port) {
  const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                           ? "[" + address.toString() + "]"
                           : address.toString();
  return host + ":" + QString::number(port);
}

}  // namespace

RemoteServer::RemoteServer(RemoteHub& hub, QObject* parent) : QObject(parent), hub_(hub) {
  connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
}

RemoteServer::~RemoteServer() { Close(); }

QString RemoteServer::Listen(const RemoteSettings& settings) {
  Close();
  settings_ = settings;
  const QHostAddress address(QString::fromStdString(settings.Address));
  if (!server_.listen(address, static_cast<quint16>(settings.Port))) return server_.errorString();
  return {};
}

void RemoteServer::Close() {
  server_.close();
  while (!clients_.empty()) drop(clients_.begin()->first, {});
}

QString RemoteServer::ListeningAddress() const {
  return IsListening() ? endpoint(server_.serverAddress(), server_.serverPort()) : QString();
}

void RemoteServer::accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    const QHostAddress peer = plain(socket->peerAddress());
    const std::optional<RemoteHub::ClientId> client = allowed(peer) ? hub_.Connect() : std::nullopt;
    if (!client) {
      ++refused_;
      socket->abort();
      socket->deleteLater();
      continue;
    }
    socket->setReadBufferSize(kReadBufferBytes);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    clients_[*client] = {socket, endpoint(peer, socket->peerPort()), QDateTime::currentDateTime()};
    const RemoteHub::ClientId id = *client;
    connect(socket, &QTcpSocket::readyRead, this, [this, id] { Serve(id); });
    connect(socket, &QTcpSocket::disconnected, this, [this, id] { drop(id, {}); });
    Serve(id);
  }
}

bool RemoteServer::allowed(const QHostAddress& peer) const {
  return peer.isLoopback() ||
         (settings_.BeyondLoopback() && settings_.Allowed.Allows(peer.toString().toStdString()));
}

void RemoteServer::Serve(RemoteHub::ClientId client) {
  const auto found = clients_.find(client);
  RemoteSession* session = hub_.Session(client);
  if (found == clients_.end() || session == nullptr) return;
  QTcpSocket* socket = found->second.Socket;
  qint64 turn = kTurnBytes;
  while (turn > 0 && !session->Waiting() && !session->Ended() && socket->bytesAvailable() > 0) {
    const QByteArray bytes = socket->peek(std::min(turn, socket->bytesAvailable()));
    const size_t taken = session->Receive(std::string_view(bytes.constData(), bytes.size()));
    socket->skip(static_cast<qint64>(taken));
    turn -= static_cast<qint64>(taken);
  }
  if (!flush(client, found->second, *session)) return;
  if (session->Fault() != RotctlFault::None) {
    drop(client, faultText(session->Fault()));
    return;
  }
  if (session->Ended()) {
    // 'q': the replies still go out, then the connection closes.
    socket->disconnectFromHost();
    return;
  }
  // Bytes left over once this client's turn is used up are read on the next pass of the
  // event loop, after the other clients and the panel had theirs.
  if (turn <= 0 && !session->Waiting() && socket->bytesAvailable() > 0) {
    QTimer::singleShot(0, this, [this, client] { Serve(client); });
  }
}

bool RemoteServer::flush(RemoteHub::ClientId client, Client& entry, RemoteSession& session) {
  const std::string output = session.TakeOutput();
  if (!output.empty()) {
    entry.Socket->write(output.data(), static_cast<qint64>(output.size()));
    // Out now rather than on the event loop's next pass: a tracker waits for every reply.
    entry.Socket->flush();
  }
  if (entry.Socket->bytesToWrite() > kPendingOutputBytes) {
    drop(client, QStringLiteral("it does not read its replies"));
    return false;
  }
  return true;
}

void RemoteServer::drop(RemoteHub::ClientId client, const QString& reason) {
  const auto found = clients_.find(client);
  if (found == clients_.end()) return;
  QTcpSocket* socket = found->second.Socket;
  if (!reason.isEmpty()) {
    ++dropped_;
    lastDrop_ = found->second.Peer + ": " + reason;
  }
  clients_.erase(found);
  hub_.Disconnect(client);
  // The socket's own signals must not reach a client that is gone.
  socket->disconnect(this);
  socket->abort();
  socket->deleteLater();
}

std::vector<RemoteClientRow> RemoteServer::Clients() const {
  std::vector<RemoteClientRow> views;
  for (const auto& [client, entry] : clients_) {
    const RemoteSession* session = hub_.Session(client);
    views.push_back({entry.Peer, entry.Since,
                     session ? QString::fromStdString(session->LastCommand()) : QString()});
  }
  return views;
}
