// Old positions shown as old, and a port whose device went away opened again by itself.

#include "app/Form1.h"
#include "app/ReadOutColours.h"

namespace {

void colourReadOut(QLabel* label, const QColor& colour, const QString& hint) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  // The hint is also what a screen reader gives as the read-out's description.
  label->setToolTip(hint);
}

}  // namespace

void TForm1::SetReopenInterval(std::chrono::milliseconds interval) {
  reopenInterval_ = interval;
  if (reopenTimer_->isActive()) reopenTimer_->start(reopenInterval_);
}

void TForm1::startPolling() {
  if (!reportAccepted_ && !lastAnswer_.isValid()) lastAnswer_ = QTime::currentTime();
  freshness_.ExpectReports();
  followFreshness();
}

void TForm1::followFreshness() {
  const std::chrono::milliseconds interval(Timer1->Interval());
  // Once old, the positions stay old until a report comes, whatever the poll rate does.
  showFreshness(staleShown_ || portLost_ || freshness_.IsOverdue(interval));
  if (const auto left = freshness_.TimeUntilOverdue(interval); left && !staleShown_) {
    // A millisecond late rather than early, so the check finds the answer overdue.
    staleTimer_->start(std::chrono::ceil<std::chrono::milliseconds>(*left) +
                       std::chrono::milliseconds(1));
  } else {
    staleTimer_->stop();
  }
}

void TForm1::showFreshness(bool stale) {
  const QString hint = stale ? staleHint() : QString();
  if (stale == staleShown_ && hint == hintShown_) return;
  staleShown_ = stale;
  hintShown_ = hint;
  const QColor colour = stale ? StaleGrey() : PositionGreen();
  colourReadOut(Label6, colour, hint);
  colourReadOut(Label7, colour, hint);
  Image1->SetPointerStale(stale);
  Image2->SetPointerStale(stale);
}

QString TForm1::staleHint() const {
  QString hint = QStringLiteral("no answer from the controller since ") +
                 lastAnswer_.toString(QStringLiteral("hh:mm:ss"));
  if (portLost_) {
    hint += QStringLiteral("; COM") + QString::number(SioComPort1.ComNumber()) +
            QStringLiteral(" went away, trying to open it again every second");
  }
  return hint;
}

void TForm1::SioComPort1PortLost(TSioCustomComPort*) {
  portLost_ = true;
  reopenTimer_->start(reopenInterval_);
  followFreshness();
}

void TForm1::tryReopen() {
  // A close left to finish after a running notice must end first.
  if (SioComPort1.Phase() != ppClosed) return;
  try {
    SioComPort1.SetOpen(true);
  } catch (const std::exception&) {
    // Still gone, or held by another program: the next try comes, without a message.
    return;
  }
  stopReopening();
  Timer1->SetEnabled(true);
  startPolling();
  // The controller is asked at once, not a poll interval later.
  Timer1Timer();
}

void TForm1::stopReopening() {
  reopenTimer_->stop();
  if (!portLost_) return;
  portLost_ = false;
  followFreshness();
}
