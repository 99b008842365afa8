#include "remote/RemoteControlForm.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* textLabel(QWidget* parent, const char* name) {
  auto* label = named(new QLabel(parent), name);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

// A label read by screen readers as the text it shows.
void showText(QLabel* label, const QString& text) {
  label->setText(text);
  label->setAccessibleName(text);
  label->setVisible(!text.isEmpty());
}

QTableWidgetItem* cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

}  // namespace

TRemoteControlForm::TRemoteControlForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("RemoteControlForm"));
  setWindowTitle(QStringLiteral("Remote control"));
  ListenLabel = textLabel(this, "ListenLabel");
  ServerCheckBox =
      named(new QCheckBox(QStringLiteral("Accept network clients"), this), "ServerCheckBox");
  RefuseMovesCheckBox = named(
      new QCheckBox(QStringLiteral("Refuse moves from the network (positions are still answered)"),
                    this),
      "RefuseMovesCheckBox");
  ClientsTable = named(new QTableWidget(0, 3, this), "ClientsTable");
  ClientsTable->setHorizontalHeaderLabels({QStringLiteral("Client"),
                                           QStringLiteral("Connected since"),
                                           QStringLiteral("Last command")});
  ClientsTable->setAccessibleName(QStringLiteral("Connected clients"));
  ClientsTable->verticalHeader()->hide();
  ClientsTable->horizontalHeader()->setStretchLastSection(true);
  ClientsTable->setSelectionMode(QAbstractItemView::NoSelection);
  ClosedLabel = textLabel(this, "ClosedLabel");
  ProblemsLabel = textLabel(this, "ProblemsLabel");
  CloseButton = named(new QPushButton(QStringLiteral("Close"), this), "CloseButton");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ListenLabel);
  // As wide as their texts, so that a click beside a text does not switch.
  layout->addWidget(ServerCheckBox, 0, Qt::AlignLeft);
  layout->addWidget(RefuseMovesCheckBox, 0, Qt::AlignLeft);
  layout->addWidget(ClientsTable);
  layout->addWidget(ClosedLabel);
  layout->addWidget(ProblemsLabel);
  layout->addWidget(CloseButton, 0, Qt::AlignRight);
  resize(520, 320);

  connect(ServerCheckBox, &QCheckBox::clicked, this, [this](bool on) {
    if (onServer_) onServer_(on);
  });
  connect(RefuseMovesCheckBox, &QCheckBox::clicked, this, [this](bool refuse) {
    if (onMoves_) onMoves_(refuse);
  });
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
}

void TRemoteControlForm::ShowStatus(const RemoteStatus& status) {
  showText(ListenLabel, status.Listening);
  {
    const QSignalBlocker server(ServerCheckBox);
    const QSignalBlocker moves(RefuseMovesCheckBox);
    ServerCheckBox->setChecked(status.Enabled);
    RefuseMovesCheckBox->setChecked(status.RefuseMoves);
  }
  ClientsTable->setRowCount(static_cast<int>(status.Clients.size()));
  for (int row = 0; row < static_cast<int>(status.Clients.size()); ++row) {
    const RemoteClientRow& client = status.Clients[row];
    ClientsTable->setItem(row, 0, cell(client.Peer));
    ClientsTable->setItem(row, 1,
                          cell(client.Since.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    ClientsTable->setItem(row, 2, cell(client.LastCommand));
  }
  showText(ClosedLabel, status.Closed);
  showText(ProblemsLabel, status.Problems.join('\n'));
}
