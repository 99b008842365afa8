#include "app/RemoteControl.h"

#include <QTimer>

#include <cstdio>

#include "app/Form1.h"
#include "remote/HubAxes.h"
#include "remote/Joined.h"
#include "widgets/ErrorDisplay.h"

namespace {

// How often the open dialog shows the clients anew.
constexpr std::chrono::milliseconds kDialogRefresh{500};

void tellStandardError(const std::string& text) {
  std::fprintf(stderr, "Azimara M: %s\n", text.c_str());
}

QString endpointOf(const RemoteSettings& settings) {
  const QString address = QString::fromStdString(settings.Address);
  return (address.contains(':') ? "[" + address + "]" : address) + ":" +
         QString::number(settings.Port);
}

bool isStop(RotatorCommand command) {
  return command == RotatorCommand::StopAll || command == RotatorCommand::StopAxis1 ||
         command == RotatorCommand::StopAxis2;
}

}  // namespace

RemoteControl::RemoteControl(TForm1& form)
    : form_(form),
      path_(form.StartDir + "/" + kRemoteSettingsFileName),
      hub_(*this),
      server_(hub_),
      runner_(form, hub_, [this](RemoteHub::ClientId client) { server_.Serve(client); }) {
  RemoteSettingsRead read = ReadRemoteSettings(path_);
  settings_ = std::move(read.Settings);
  problems_ = std::move(read.Problems);
  for (const std::string& problem : problems_) tellStandardError(problem);
  hub_.SetOnCommandQueued([this] { runner_.Poke(); });
  listen();
  if (!listenError_.isEmpty()) {
    tellStandardError(
        ("remote control does not listen on " + endpointOf(settings_) + ": " + listenError_)
            .toStdString());
  }
}

RemoteControl::~RemoteControl() {
  delete dialog_;
  server_.Close();
}

void RemoteControl::listen() {
  listenError_.clear();
  server_.Close();
  if (!settings_.Enabled) return;
  listenError_ = server_.Listen(settings_);
}

void RemoteControl::OperatorCommandStarting(RotatorCommand command) {
  if (isStop(command)) runner_.OperatorStop();
}

void RemoteControl::ShowDialog() {
  if (!dialog_) {
    dialog_ = new TRemoteControlForm(&form_);
    dialog_->SetOnServerSwitched([this](bool on) { SwitchServer(on); });
    dialog_->SetOnMovesSwitched([this](bool refuse) { SwitchMoves(refuse); });
    auto* refresh = new QTimer(dialog_);
    QObject::connect(refresh, &QTimer::timeout, dialog_, [this] { refreshDialog(); });
    refresh->start(kDialogRefresh);
  }
  dialog_->ShowStatus(Status());
  dialog_->show();
  dialog_->raise();
  dialog_->activateWindow();
}

void RemoteControl::refreshDialog() {
  if (dialog_ && dialog_->isVisible()) dialog_->ShowStatus(Status());
}

void RemoteControl::SwitchServer(bool on) {
  settings_.Enabled = on;
  listen();
  writeSetting("enabled", OnOff(on));
  refreshDialog();
}

void RemoteControl::SwitchMoves(bool refuse) {
  settings_.RefuseMoves = refuse;
  writeSetting("moves", MovesValue(refuse));
  refreshDialog();
}

void RemoteControl::writeSetting(std::string_view key, std::string_view value) {
  RunReportingErrors([&] { WriteRemoteSetting(path_, key, value); });
}

RemoteStatus RemoteControl::Status() const {
  RemoteStatus status;
  status.Enabled = settings_.Enabled;
  status.RefuseMoves = settings_.RefuseMoves;
  if (!settings_.Enabled) {
    status.Listening = QStringLiteral("Off: network clients cannot connect.");
  } else if (!listenError_.isEmpty()) {
    status.Listening = "Not listening on " + endpointOf(settings_) + ": " + listenError_;
  } else {
    status.Listening = "Listening on " + server_.ListeningAddress() +
                       " for rotctld clients (Gpredict, rotctl -m 2).";
  }
  status.Clients = server_.Clients();
  if (server_.Dropped() > 0 || server_.Refused() > 0) {
    status.Closed = "Closed by the panel: " + QString::number(server_.Dropped()) + " dropped, " +
                    QString::number(server_.Refused()) + " refused.";
    if (!server_.LastDrop().isEmpty()) status.Closed += " Last dropped: " + server_.LastDrop();
  }
  for (const std::string& problem : problems_) status.Problems << QString::fromStdString(problem);
  return status;
}

int32_t RemoteControl::AxisConfig() const { return form_.Settings.AxisConfig; }

std::optional<RotatorPositions> RemoteControl::CurrentPositions() const {
  const std::chrono::milliseconds interval(form_.Timer1->Interval());
  // A port whose device went away has no current position, however recent the last one.
  if (!form_.Freshness().IsFresh(interval) || form_.PortLost()) return std::nullopt;
  if (HasTwoAxes(AxisConfig()) && !form_.ReadPosition2()) return std::nullopt;
  return RotatorPositions{form_.Position1(), form_.Position2()};
}

std::string RemoteControl::Info() const {
  return Joined({"Azimara M V1.7, GS-232B on COM", std::to_string(form_.Settings.ComNumber)});
}
