#include "app/NetworkCommandRunner.h"

#include <exception>

#include "app/Form1.h"
#include "remote/RotctlErrors.h"

NetworkCommandRunner::NetworkCommandRunner(TForm1& form, RemoteHub& hub,
                                           std::function<void(RemoteHub::ClientId)> served)
    : form_(form), hub_(hub), served_(std::move(served)) {
  pause_.setSingleShot(true);
  // A coarse timer may fire a few percent early; the controller needs the whole pause.
  pause_.setTimerType(Qt::PreciseTimer);
  connect(&pause_, &QTimer::timeout, this, [this] { pauseOver(); });
}

void NetworkCommandRunner::Poke() {
  // Never from inside the session that queued the command: its client is served afterwards.
  if (poked_) return;
  poked_ = true;
  QTimer::singleShot(0, this, [this] {
    poked_ = false;
    startNext();
  });
}

void NetworkCommandRunner::startNext() {
  if (current_) return;
  current_ = hub_.TakeNextCommand();
  if (!current_) return;
  form_.Timer1->SetEnabled(false);
  if (CommandInfo(current_->Command.Command).PauseBefore) {
    pauseStart_ = Clock::now();
    pause_.start(kCommandPause);
  } else {
    send();
  }
}

void NetworkCommandRunner::pauseOver() {
  if (form_.LastPollTime() > pauseStart_) {
    form_.Timer1->SetEnabled(false);
    pauseStart_ = Clock::now();
    pause_.start(kCommandPause);
    return;
  }
  send();
}

void NetworkCommandRunner::send() {
  int status = RotctlOk;
  try {
    status = form_.SioComPort1.Open() ? sendCommand(current_->Command) : RotctlIoError;
  } catch (const std::exception&) {
    status = RotctlIoError;
  }
  if (status == RotctlOk) pollAfterCommand();
  form_.Timer1->SetEnabled(true);
  finish(status);
}

int NetworkCommandRunner::sendCommand(const HubCommand& command) {
  if (command.Park) {
    // As the PARK buttons do: the park positions become the targets the fields show.
    form_.KtNumEdit1->SetValue(form_.KtNumEdit3->IntValue());
    if (command.Command == RotatorCommand::GoBoth) {
      form_.KtNumEdit2->SetValue(form_.KtNumEdit4->IntValue());
    }
  }
  const auto target = [this, &command](int axis) -> int64_t {
    if (command.Park) return (axis == 1 ? form_.KtNumEdit1 : form_.KtNumEdit2)->IntValue();
    return axis == 1 ? command.Target1 : command.Target2;
  };
  const BuiltCommand built = BuildCommand(command.Command, target, form_.CmdBuf);
  if (built.RejectedAxis != 0) return RotctlInvalidArgument;
  form_.SendCommand(built.Length);
  return RotctlOk;
}

void NetworkCommandRunner::pollAfterCommand() {
  // As a tick of the poll timer would: a timer that never ticks (poll rate 0) sends no query.
  if (form_.Timer1->Interval() > 0) form_.Timer1Timer();
}

void NetworkCommandRunner::finish(int status) {
  const RemoteHub::ClientId client = current_->Client;
  current_.reset();
  hub_.CommandDone(client, status);
  served_(client);
  Poke();
}

void NetworkCommandRunner::OperatorStop() {
  for (const RemoteHub::ClientId client : hub_.CancelQueuedMoves(RotctlRejected)) {
    serveLater(client);
  }
  if (current_ && current_->Command.IsMove() && pause_.isActive()) {
    pause_.stop();
    const RemoteHub::ClientId client = current_->Client;
    current_.reset();
    hub_.CommandDone(client, RotctlRejected);
    serveLater(client);
    Poke();
  }
}

void NetworkCommandRunner::serveLater(RemoteHub::ClientId client) {
  QTimer::singleShot(0, this, [this, client] { served_(client); });
}
