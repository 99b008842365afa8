#pragma once
// One connected network client as the operator sees it.

#include <QDateTime>
#include <QString>

struct RemoteClientRow {
  // "127.0.0.1:40312"
  QString Peer;
  QDateTime Since;
  // The last request, as its long name and arguments ("set_pos 200 30").
  QString LastCommand;
};
