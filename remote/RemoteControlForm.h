#pragma once
// The "Remote control" dialog: where the server listens (or why it does not), every connected
// client with its address, since when it is connected and what it asked last, the clients the
// panel closed, the problems found in the settings file, and the operator's two switches: accept
// network clients at all, and refuse moves from the network while positions are still answered.
// It shows what it is given and tells what the operator switched; it changes nothing itself.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>

#include <functional>
#include <vector>

#include "remote/RemoteClientRow.h"

struct RemoteStatus {
  bool Enabled = true;
  bool RefuseMoves = false;
  // "Listening on 127.0.0.1:4533 ...", or why not.
  QString Listening;
  std::vector<RemoteClientRow> Clients;
  // The clients the panel closed, empty when none.
  QString Closed;
  QStringList Problems;
};

class TRemoteControlForm : public QDialog {
 public:
  explicit TRemoteControlForm(QWidget* parent = nullptr);

  // Shows status; the switches follow it without reporting a change.
  void ShowStatus(const RemoteStatus& status);

  // Told when the operator switches; the new state is the argument.
  void SetOnServerSwitched(std::function<void(bool)> handler) { onServer_ = std::move(handler); }
  void SetOnMovesSwitched(std::function<void(bool refuse)> handler) {
    onMoves_ = std::move(handler);
  }

  QLabel* ListenLabel;
  QCheckBox* ServerCheckBox;
  QCheckBox* RefuseMovesCheckBox;
  QTableWidget* ClientsTable;
  QLabel* ClosedLabel;
  QLabel* ProblemsLabel;
  QPushButton* CloseButton;

 private:
  std::function<void(bool)> onServer_;
  std::function<void(bool)> onMoves_;
};
