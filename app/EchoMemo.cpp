#include "app/EchoMemo.h"

#include <QEvent>

EchoMemo::EchoMemo(QPlainTextEdit* memo) : QObject(memo), memo_(memo) {
  memo_->installEventFilter(this);
}

void EchoMemo::Append(const QString& line) {
  ++appended_;
  if (memo_->isVisible()) {
    memo_->appendPlainText(line);
    return;
  }
  pending_.append(line);
  // The memo would drop the older ones at once.
  const qsizetype kept = memo_->maximumBlockCount();
  if (kept > 0 && pending_.size() > kept) pending_.remove(0, pending_.size() - kept);
}

QString EchoMemo::Text() {
  flush();
  return memo_->toPlainText();
}

int EchoMemo::LineCount() {
  flush();
  return memo_->blockCount();
}

bool EchoMemo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memo_ && event->type() == QEvent::Show) flush();
  return QObject::eventFilter(watched, event);
}

void EchoMemo::flush() {
  if (pending_.isEmpty()) return;
  // One block per line, as appending them one by one would give.
  memo_->appendPlainText(pending_.join(QChar('\n')));
  pending_.clear();
}
