// Start-up and the three ways the program ends.

#include <chrono>

#include "app/BlockingPause.h"
#include "app/ComboBoxSelection.h"
#include "app/DiagMode.h"
#include "app/FileSystem.h"
#include "app/Form1.h"
#include "app/ProcessEnd.h"
#include "serial/PortPath.h"
#include "widgets/ErrorDisplay.h"

namespace {

// Gives the port time to let go of the line before the process ends.
constexpr std::chrono::milliseconds kExitPause{500};

const QColor kDiagnosticRed(255, 0, 0);

}  // namespace

void TForm1::FormCreate() {
  show();
  GroupBox2->setFocus();
  StartDir = CurrentDirectory();
  SetPortLinkDirectory(StartDir);
  SioComPort1.SetBaud(9600);
  LoadSettings();
  LoadLanguage();
  SelectItemSilently(ComboBox1, Settings.ComNumber - 1);
  if (const qsizetype item = LanguageItems.indexOf(QString::fromStdString(Settings.Language));
      item >= 0) {
    SelectItemSilently(ComboBox2, static_cast<int>(item));
  }
  // Text set from code raises no change event in Qt, so the poll-rate handler runs directly:
  // it saves the file and applies it once more. Its error is shown and start-up goes on.
  ComboBox3->setEditText(QString::number(Settings.PollRate));
  RunReportingErrors([this] { ComboBox3Change(); });
  KtNumEdit3->SetValue(Settings.Park1);
  KtNumEdit4->SetValue(Settings.Park2);
  SelectItemSilently(ComboBox4, Settings.AxisConfig);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, DiagMode ? kDiagnosticRed : palette.color(QPalette::Button));
  setPalette(palette);
  Memo1->setVisible(DiagMode);
  // After the colour: a log that cannot be created ends start-up on a red window all the same.
  if (DiagMode) PositionLogFile.Create(kPositionLogFileName);
  Timer1->SetInterval(Settings.PollRate);
  openPort();
}

void TForm1::Button1Click() {
  stopReopening();
  SioComPort1.SetOpen(false);
  Timer1->SetEnabled(false);
  BlockingPause(kExitPause);
  EndProcess();
}

void TForm1::FormClose() {
  saveRefreshed(refreshedSettings());
  if (DiagMode) PositionLogFile.Close();
}

void TForm1::FormDestroy() {
  saveRefreshed(refreshedSettings());
  if (DiagMode) PositionLogFile.Close();
}
