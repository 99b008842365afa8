#pragma once
// The panel as the station's hub: the rotctld-protocol server, its settings file beside
// "QV_M.ini", the commands network clients send through the panel's own command path, and the
// "Remote control" dialog. Created once the window has started; it tells the server what the
// window knows (positions, axis configuration) and never changes a setting of "QV_M.ini".

#include <QPointer>
#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "app/NetworkCommandRunner.h"
#include "protocol/CommandSet.h"
#include "remote/RemoteControlForm.h"
#include "remote/RemoteHub.h"
#include "remote/RemoteRotator.h"
#include "remote/RemoteServer.h"
#include "remote/RemoteSettings.h"

class TForm1;

class RemoteControl : public RemoteRotator {
 public:
  // Reads the settings file in the window's start-up directory, reports each bad line once on
  // standard error, and listens when the server is on; when it cannot, says why once on
  // standard error and in the dialog, and the panel goes on without it.
  explicit RemoteControl(TForm1& form);
  ~RemoteControl() override;

  // An operator's command is about to be sent: a STOP cancels the network's moves.
  void OperatorCommandStarting(RotatorCommand command);

  // Opens the dialog (or raises it when open) and keeps it up to date while it is shown.
  void ShowDialog();
  TRemoteControlForm* Dialog() const { return dialog_; }

  // The operator's switches, as the dialog sets them: applied at once and written to the
  // settings file (a write that fails is shown in the standard error box).
  void SwitchServer(bool on);
  void SwitchMoves(bool refuse);

  const RemoteServer& Server() const { return server_; }
  RemoteStatus Status() const;

  // RemoteRotator
  int32_t AxisConfig() const override;
  std::optional<RotatorPositions> CurrentPositions() const override;
  bool MovesRefused() const override { return settings_.RefuseMoves; }
  std::string Info() const override;

 private:
  void listen();
  void writeSetting(std::string_view key, std::string_view value);
  void refreshDialog();

  TForm1& form_;
  std::string path_;
  RemoteSettings settings_;
  std::vector<std::string> problems_;
  // Why the server does not listen (the system's words), empty while it does or is off.
  QString listenError_;
  RemoteHub hub_;
  RemoteServer server_;
  NetworkCommandRunner runner_;
  QPointer<TRemoteControlForm> dialog_;
};
