// The commands the buttons and the dials send.

#include "app/BlockingPause.h"
#include "app/Form1.h"
#include "app/MessageBoxes.h"
#include "app/RemoteControl.h"
#include "protocol/ByteTransmission.h"

namespace {

// Polling resumes however a command ends, so the read-outs never freeze silently after an
// error; the error itself is still shown.
class PollingPause {
 public:
  explicit PollingPause(IntervalTimer* timer) : timer_(timer) { timer_->SetEnabled(false); }
  PollingPause(const PollingPause&) = delete;
  PollingPause& operator=(const PollingPause&) = delete;
  ~PollingPause() { timer_->SetEnabled(true); }

 private:
  IntervalTimer* timer_;
};

}  // namespace

int64_t TForm1::targetValue(int axis) { return (axis == 1 ? KtNumEdit1 : KtNumEdit2)->IntValue(); }

void TForm1::runCommand(RotatorCommand command) {
  if (remote_) remote_->OperatorCommandStarting(command);
  const PollingPause pause(Timer1);
  if (CommandInfo(command).PauseBefore) BlockingPause(kCommandPause);
  const BuiltCommand built = BuildCommand(
      command, [this](int axis) { return targetValue(axis); }, CmdBuf);
  if (built.RejectedAxis != 0) {
    // A target without a three-digit field would send the rotator somewhere else.
    const TKtNumEdit* field = built.RejectedAxis == 1 ? KtNumEdit1 : KtNumEdit2;
    ShowProgramError(langText(EntryInvalidInput) + " \"" + field->text() + "\" !");
    return;
  }
  SendCommand(built.Length);
}

void TForm1::SendCommand(size_t n) {
  SendCommandBytes(
      CmdBuf, n, [this] { return SioComPort1.Open(); },
      [this](uint8_t byte) { SioComPort1.SendChar(byte); });
}

void TForm1::GoAxis1() { runCommand(RotatorCommand::GoAxis1); }
void TForm1::GoAxis2() { runCommand(RotatorCommand::GoAxis2); }
void TForm1::GoBoth() { runCommand(RotatorCommand::GoBoth); }

void TForm1::Button2Click() { GoAxis1(); }
void TForm1::Button3Click() { GoAxis2(); }
void TForm1::Button4Click() { GoBoth(); }
void TForm1::Button5Click() { runCommand(RotatorCommand::StopAxis1); }
void TForm1::Button6Click() { runCommand(RotatorCommand::StopAll); }
void TForm1::Button7Click() { runCommand(RotatorCommand::StopAxis2); }
void TForm1::Button9Click() { runCommand(RotatorCommand::TurnAxis1Ccw); }
void TForm1::Button11Click() { runCommand(RotatorCommand::TurnAxis1Cw); }
void TForm1::Button12Click() { runCommand(RotatorCommand::TurnAxis2Down); }
void TForm1::Button13Click() { runCommand(RotatorCommand::TurnAxis2Up); }

void TForm1::Button8Click() {
  KtNumEdit1->SetValue(KtNumEdit3->IntValue());
  GoAxis1();
}

void TForm1::Button14Click() {
  KtNumEdit2->SetValue(KtNumEdit4->IntValue());
  GoAxis2();
}

void TForm1::Button10Click() {
  KtNumEdit1->SetValue(KtNumEdit3->IntValue());
  KtNumEdit2->SetValue(KtNumEdit4->IntValue());
  GoBoth();
}
