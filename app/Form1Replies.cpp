// The poll and the controller's replies: echo, position read-outs, dial pointers and the
// position log.

#include <QDateTime>
#include <QLocale>

#include "app/DiagMode.h"
#include "app/Form1.h"
#include "app/TimeFormatWithoutZone.h"
#include "display/DialGeometry.h"
#include "protocol/ByteTransmission.h"
#include "protocol/PollQuery.h"

namespace {

// Byte values one memo line shows: far more than any reply has. A flood read in blocks of
// thousands of bytes would otherwise give lines whose layout stalls the window and a memo
// holding a hundred megabytes.
constexpr size_t kMemoLineValues = 256;

// The echo line as the memo shows it: its first kMemoLineValues values, then "…" when there
// were more.
QString memoLine(const std::string& echoLine) {
  size_t end = 0;
  for (size_t values = 0; values < kMemoLineValues && end != std::string::npos; ++values) {
    end = echoLine.find(' ', end);
    if (end != std::string::npos) ++end;
  }
  if (end == std::string::npos || end == echoLine.size()) {
    return QString::fromStdString(echoLine);
  }
  return QString::fromStdString(echoLine.substr(0, end)) + QChar(0x2026);
}

}  // namespace

void TForm1::Timer1Timer() {
  lastPoll_ = std::chrono::steady_clock::now();
  // A poll rate chosen shorter meanwhile brings the stale marking sooner.
  followFreshness();
  const size_t n = BuildPollQuery(Settings.AxisConfig, CmdBuf);
  SendPollBytes(
      CmdBuf, n, [this] { return SioComPort1.Open() && SioComPort1.RTS(); },
      [this](uint8_t byte) { SioComPort1.SendChar(byte); });
}

void TForm1::SioComPort1TriggerAvail(TSioCustomComPort*, uint16_t Count) {
  const ReplyOutcome outcome =
      replies_.TriggerAvail(Count, [this] { return SioComPort1.ReadChar(); });
  if (!outcome.Read) return;
  echo_->Append(memoLine(outcome.EchoLine));
  if (!outcome.ReportAccepted) return;
  reportAccepted_ = true;
  freshness_.ReportAccepted();
  lastAnswer_ = QTime::currentTime();
  // The one thing that makes old positions current again.
  showFreshness(false);
  followFreshness();
  Label6->setText(QString::fromStdString(outcome.ReadOut1Text));
  Label6->adjustSize();
  // Axis 2's read-out waits for a report that holds axis 2.
  if (outcome.Position2Read) {
    Label7->setText(QString::fromStdString(outcome.ReadOut2Text));
    Label7->adjustSize();
  }
  DrawDialPointers(outcome.Position1, ReadPosition2());
  if (DiagMode) logPositions(outcome.Position1, outcome.Position2);
}

void TForm1::DrawDialPointers(int32_t position1, std::optional<int32_t> position2) {
  const int config = ComboBox4->currentIndex();
  Image1->SetPointer(position1, LeftDialKind(config));
  const std::optional<DialKind> right = RightDialKind(config);
  if (right && position2) Image2->SetPointer(*position2, *right);
}

void TForm1::logPositions(int32_t position1, int32_t position2) {
  // One reading of the clock, so a report just at midnight gets a matching date and time.
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale = QLocale::system();
  const QString time =
      locale.toString(now.time(), TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
  const QString line = locale.toString(now.date(), QLocale::ShortFormat) + " " + time + " " +
                       QString::number(position1) + "° " + QString::number(position2) + "° \r\n";
  PositionLogFile.Append(line.toStdString());
}
