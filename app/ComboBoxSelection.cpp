#include "app/ComboBoxSelection.h"

#include <QLineEdit>
#include <QSignalBlocker>

void SelectItemSilently(QComboBox* box, int index) {
  const QSignalBlocker blocker(box);
  const bool inList = index >= 0 && index < box->count();
  if (inList) {
    box->setCurrentIndex(index);
    box->setEditText(box->itemText(index));
  } else if (box->currentIndex() != -1) {
    // Qt rewrites the edit field on every call; with nothing selected already, the text the
    // operator typed stays.
    box->setCurrentIndex(-1);
  }
}

void FollowTypedText(QComboBox* box) {
  const QSignalBlocker blocker(box);
  QLineEdit* edit = box->lineEdit();
  const QString typed = edit->text();
  const int cursor = edit->cursorPosition();
  box->setCurrentIndex(box->findText(typed, Qt::MatchExactly));
  if (edit->text() != typed) edit->setText(typed);
  edit->setCursorPosition(cursor);
}
