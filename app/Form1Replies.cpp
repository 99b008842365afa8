// The controller's replies: echo, position read-outs, dial pointers and the position log.

#include <QDateTime>
#include <QLocale>

#include "app/DiagMode.h"
#include "app/Form1.h"
#include "display/DialGeometry.h"

void TForm1::SioComPort1TriggerAvail(TSioCustomComPort*, uint16_t Count) {
  const ReplyOutcome outcome =
      replies_.TriggerAvail(Count, [this] { return SioComPort1.ReadChar(); });
  if (!outcome.Read) return;
  Memo1->appendPlainText(QString::fromStdString(outcome.EchoLine));
  if (!outcome.ReportAccepted) return;
  reportAccepted_ = true;
  Label6->setText(QString::fromStdString(outcome.Label6Text));
  Label6->adjustSize();
  Label7->setText(QString::fromStdString(outcome.Label7Text));
  Label7->adjustSize();
  DrawDialPointers(outcome.Position1, outcome.Position2);
  if (DiagMode) logPositions(outcome.Position1, outcome.Position2);
}

void TForm1::DrawDialPointers(int32_t position1, int32_t position2) {
  const int config = ComboBox4->currentIndex();
  Image1->SetPointer(position1, LeftDialKind(config));
  if (const std::optional<DialKind> right = RightDialKind(config)) {
    Image2->SetPointer(position2, *right);
  }
}

void TForm1::logPositions(int32_t position1, int32_t position2) {
  // One reading of the clock, so a report just at midnight gets a matching date and time.
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale = QLocale::system();
  const QString line = locale.toString(now.date(), QLocale::ShortFormat) + " " +
                       locale.toString(now.time(), QLocale::LongFormat) + " " +
                       QString::number(position1) + "° " + QString::number(position2) + "° \r\n";
  PositionLogFile.Append(line.toStdString());
}
