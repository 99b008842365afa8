// What tools and the operator find on the window: every control under its form name as its
// object name, and the keyboard's way through them.

#include <QApplication>
#include <QTest>

#include "tests/app/PanelFixture.h"
#include "tests/app/PanelInput.h"

namespace {

using WindowLayout = PanelTest;

TEST_F(WindowLayout, EveryControlCarriesItsFormNameInItsParent) {
  const auto form = StartPanel();
  const std::vector<std::pair<const char*, const char*>> controls = {
      {"Image1", "Form1"},         {"Image2", "Form1"},         {"Label6", "Form1"},
      {"Label7", "Form1"},         {"GroupBox2", "Form1"},      {"GroupBox3", "Form1"},
      {"GroupBox4", "Form1"},      {"GroupBox5", "Form1"},      {"Memo1", "Form1"},
      {"Label1", "GroupBox2"},     {"Label2", "GroupBox2"},     {"Label3", "GroupBox2"},
      {"Label13", "GroupBox2"},    {"ComboBox1", "GroupBox2"},  {"ComboBox2", "GroupBox2"},
      {"ComboBox3", "GroupBox2"},  {"ComboBox4", "GroupBox2"},  {"Button1", "GroupBox2"},
      {"Button2", "GroupBox3"},    {"Button5", "GroupBox3"},    {"Button8", "GroupBox3"},
      {"Button9", "GroupBox3"},    {"Button11", "GroupBox3"},   {"KtNumEdit1", "GroupBox3"},
      {"KtNumEdit3", "GroupBox3"}, {"Button3", "GroupBox5"},    {"Button7", "GroupBox5"},
      {"Button12", "GroupBox5"},   {"Button13", "GroupBox5"},   {"Button14", "GroupBox5"},
      {"KtNumEdit2", "GroupBox5"}, {"KtNumEdit4", "GroupBox5"}, {"Button4", "GroupBox4"},
      {"Button6", "GroupBox4"},    {"Button10", "GroupBox4"},
  };
  EXPECT_EQ(form->objectName(), "Form1");
  for (const auto& [name, parent] : controls) {
    const auto* control = form->findChild<QWidget*>(name);
    ASSERT_NE(control, nullptr) << name;
    EXPECT_EQ(control->parentWidget()->objectName(), parent) << name;
  }
}

TEST_F(WindowLayout, TabGoesThroughTheGroupsInTheirOrder) {
  const auto form = StartPanel();
  const QStringList expected = {
      "ComboBox2", "ComboBox3",  "Button1",    "ComboBox4", "Button5",    "Button9",    "Button11",
      "Button2",   "KtNumEdit1", "KtNumEdit3", "Button8",   "Button6",    "Button4",    "Button10",
      "Button7",   "Button12",   "Button13",   "Button3",   "KtNumEdit2", "KtNumEdit4", "Button14"};
  FocusOn(form->ComboBox1);
  QStringList visited;
  for (qsizetype i = 0; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    // The edit field of a drop-down box stands for its box.
    if (focus != nullptr && focus->parentWidget() != nullptr &&
        qobject_cast<QComboBox*>(focus->parentWidget()) != nullptr) {
      focus = focus->parentWidget();
    }
    visited << (focus != nullptr ? focus->objectName() : QString());
  }
  EXPECT_EQ(visited, expected);
}

TEST_F(WindowLayout, ThePositionReadOutsAreLargeGreenAndOpaque) {
  const auto form = StartPanel();
  for (const QLabel* label : {form->Label6, form->Label7}) {
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_TRUE(label->autoFillBackground());
    EXPECT_EQ(label->font().pixelSize(), 16);
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->size(), label->sizeHint());
  }
  EXPECT_EQ(form->Label6->pos(), QPoint(0, 96));
  EXPECT_EQ(form->Label7->pos(), QPoint(205, 96));
}

}  // namespace
