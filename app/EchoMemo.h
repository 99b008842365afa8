#pragma once
// The echo memo's lines. A memo that is shown gets each line at once; a hidden one (the
// delivered panel never shows it) gets them when it is shown or read, so an idle panel does
// not lay out a line of text on every poll that nobody sees. Either way the memo keeps only
// its newest maximumBlockCount lines.

#include <QObject>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>

class EchoMemo : public QObject {
 public:
  // Follows memo's show events; memo outlives this object.
  explicit EchoMemo(QPlainTextEdit* memo);

  // Adds line as the memo's new last line.
  void Append(const QString& line);
  // The memo's text and its number of lines, every line appended so far included.
  QString Text();
  int LineCount();
  // How many lines were ever appended.
  long Appended() const { return appended_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Hands the lines kept for the hidden memo to it.
  void flush();

  QPlainTextEdit* memo_;
  QStringList pending_;
  long appended_ = 0;
};
