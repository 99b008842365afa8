#include "app/Form1.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLineEdit>

#include <utility>

#include "app/ComboBoxSelection.h"
#include "app/MessageBoxes.h"
#include "app/RemoteControl.h"
#include "widgets/ErrorDisplay.h"

namespace {

// A handler run from one of Qt's signals: its error ends it and is shown, never thrown into
// Qt's event loop.
template <typename Handler>
auto reporting(TForm1* form, Handler handler) {
  return [form, handler] { RunReportingErrors([form, handler] { (form->*handler)(); }); };
}

// Connects handler to what the operator does with box: picking an item and every keystroke in
// its edit field. Code that selects an item or sets the text raises neither. A keystroke first
// makes the item with the typed text the selection, or none.
template <typename Handler>
void connectBoxChange(TForm1* form, QComboBox* box, Handler handler) {
  QObject::connect(box, &QComboBox::activated, form, reporting(form, handler));
  QObject::connect(box->lineEdit(), &QLineEdit::textEdited, form, [box] { FollowTypedText(box); });
  QObject::connect(box->lineEdit(), &QLineEdit::textEdited, form, reporting(form, handler));
}

}  // namespace

TForm1::TForm1() {
  createControls();
  SioComPort1.SetTraceName("SIO.TRC");
  SioComPort1.SetLogName("SIO.LOG");
  connectEvents();
  RunReportingErrors([this] { FormCreate(); });
  // After start-up, whatever became of it: the hub needs the start-up directory, and the
  // operator's windows come first.
  remote_ = std::make_unique<RemoteControl>(*this);
}

TForm1::~TForm1() {
  // Nothing opens the port again or marks the read-outs while the window goes.
  stopReopening();
  staleTimer_->stop();
  // No network client may reach the port while it closes below.
  remote_.reset();
  RunReportingErrors([this] { FormDestroy(); });
  // Closing waits for the port's threads and lets the GUI thread handle events meanwhile: no
  // tick and no notice may reach the window's handlers from here on.
  Timer1->SetEnabled(false);
  SioComPort1.SetOnTriggerAvail(nullptr);
  SioComPort1.SetOnPortLost(nullptr);
  RunReportingErrors([this] { SioComPort1.SetOpen(false); });
}

void TForm1::openPort() {
  try {
    SioComPort1.SetOpen(true);
  } catch (const std::exception&) {
    ShowProgramError("Port COM" + QString::number(Settings.ComNumber) + langText(EntryPortError));
    SioComPort1.SetOpen(false);
    Timer1->SetEnabled(false);
    return;
  }
  Timer1->SetEnabled(true);
  startPolling();
}

void TForm1::connectEvents() {
  const std::pair<QPushButton*, void (TForm1::*)()> buttons[] = {
      {Button1, &TForm1::Button1Click},   {Button2, &TForm1::Button2Click},
      {Button3, &TForm1::Button3Click},   {Button4, &TForm1::Button4Click},
      {Button5, &TForm1::Button5Click},   {Button6, &TForm1::Button6Click},
      {Button7, &TForm1::Button7Click},   {Button8, &TForm1::Button8Click},
      {Button9, &TForm1::Button9Click},   {Button10, &TForm1::Button10Click},
      {Button11, &TForm1::Button11Click}, {Button12, &TForm1::Button12Click},
      {Button13, &TForm1::Button13Click}, {Button14, &TForm1::Button14Click},
  };
  for (const auto& [button, handler] : buttons) {
    connect(button, &QPushButton::clicked, this, reporting(this, handler));
  }
  connectBoxChange(this, ComboBox1, &TForm1::ComboBox1Change);
  connectBoxChange(this, ComboBox2, &TForm1::ComboBox2Change);
  connectBoxChange(this, ComboBox3, &TForm1::ComboBox3Change);
  connectBoxChange(this, ComboBox4, &TForm1::ComboBox4Change);
  // The numeric fields show errors of their exit handlers themselves.
  KtNumEdit3->SetOnExit([this] { KtNumEdit3Exit(); });
  KtNumEdit4->SetOnExit([this] { KtNumEdit4Exit(); });
  Image1->SetOnMouseMove(
      [this](int X, int Y) { RunReportingErrors([this, X, Y] { Image1MouseMove(X, Y); }); });
  Image2->SetOnMouseMove(
      [this](int X, int Y) { RunReportingErrors([this, X, Y] { Image2MouseMove(X, Y); }); });
  Image1->SetOnClick(reporting(this, &TForm1::Image1Click));
  Image2->SetOnClick(reporting(this, &TForm1::Image2Click));
  Timer1->SetOnTimer(reporting(this, &TForm1::Timer1Timer));
  SioComPort1.SetOnTriggerAvail([this](TSioCustomComPort* CP, uint16_t Count) {
    RunReportingErrors([this, CP, Count] { SioComPort1TriggerAvail(CP, Count); });
  });
  SioComPort1.SetOnPortLost([this](TSioCustomComPort* Sender) { SioComPort1PortLost(Sender); });
  connect(staleTimer_, &QTimer::timeout, this, [this] { followFreshness(); });
  connect(reopenTimer_, &QTimer::timeout, this, [this] { tryReopen(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
  // The window closes even when saving fails: the error is shown, and the settings are
  // tried once more when the window is destroyed.
  RunReportingErrors([this] { FormClose(); });
  event->accept();
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
  // The hub's dialog lives here, so that the window's fixed layout stays as it is.
  if (!contextMenu_) {
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("Form1ContextMenu"));
    QAction* remote = contextMenu_->addAction(QStringLiteral("Remote control..."));
    remote->setObjectName(QStringLiteral("RemoteControlAction"));
    connect(remote, &QAction::triggered, this, [this] {
      if (remote_) remote_->ShowDialog();
    });
  }
  contextMenu_->popup(event->globalPos());
  event->accept();
}
