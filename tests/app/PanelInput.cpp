#include "tests/app/PanelInput.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

namespace {

constexpr int kWaitMs = 10000;

}  // namespace

void FocusOn(QWidget* widget) {
  widget->window()->activateWindow();
  widget->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(QTest::qWaitFor([widget] { return widget->hasFocus(); }, kWaitMs))
      << widget->objectName().toStdString();
}

void PickItem(QComboBox* box, int index) {
  box->showPopup();
  QAbstractItemView* list = box->view();
  ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible(); }, kWaitMs));
  list->setCurrentIndex(box->model()->index(index, 0));
  QTest::keyClick(list, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([list] { return !list->isVisible(); }, kWaitMs));
}

void TypeInto(QComboBox* box, const QString& text) {
  FocusOn(box);
  box->lineEdit()->selectAll();
  QTest::keyClicks(box->lineEdit(), text);
}

void ClearBox(QComboBox* box) {
  FocusOn(box);
  box->lineEdit()->selectAll();
  QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
}
