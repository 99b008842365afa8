#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <stdexcept>
#include <string>
#include <vector>

#include "widgets/ErrorDisplay.h"
#include "widgets/KtNumEdit.h"

namespace {

constexpr int kWaitMs = 10000;

// A window with a park field (0 to 359, as KtNumEdit3) and a plain edit to
// move the focus to.
class KtNumEditWidget : public testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(park);
    layout->addWidget(other);
    park->SetMaxValue(359);
    park->SetBeep([this] { ++beeps; });
    park->SetOnExit([this] { ++exits; });
    SetErrorDisplay([this](const std::string& message) { errors.push_back(message); });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, kWaitMs));
  }

  void TearDown() override { SetErrorDisplay(nullptr); }

  void focus(QWidget* widget) {
    widget->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return widget->hasFocus(); }, kWaitMs));
  }

  QWidget window;
  TKtNumEdit* park = new TKtNumEdit(&window);
  QLineEdit* other = new QLineEdit(&window);
  int beeps = 0;
  int exits = 0;
  std::vector<std::string> errors;
};

TEST_F(KtNumEditWidget, StartsRightAlignedShowingZero) {
  EXPECT_EQ(park->text(), "0");
  EXPECT_TRUE(park->alignment() & Qt::AlignRight);
  EXPECT_EQ(park->Alignment(), TAlignment::RightJustify);
  EXPECT_EQ(TKtNumEdit::Version(), "8.50.00.00");
  park->SetAlignment(TAlignment::Center);
  EXPECT_TRUE(park->alignment() & Qt::AlignHCenter);
}

TEST_F(KtNumEditWidget, TypedDigitsReplaceTheShownZero) {
  focus(park);
  QTest::keyClicks(park, "123");
  EXPECT_EQ(park->text(), "123");
  EXPECT_EQ(park->IntValue(), 123);
}

TEST_F(KtNumEditWidget, LeavingOutOfRangeCorrectsBeepsAndKeepsTheFocus) {
  focus(park);
  QTest::keyClicks(park, "400");
  QTest::keyClick(park, Qt::Key_Tab);
  EXPECT_EQ(park->text(), "359");
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(exits, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return park->hasFocus(); }, kWaitMs));
  EXPECT_EQ(park->selectedText(), "359") << "entering again selects all";

  QTest::keyClick(park, Qt::Key_Tab);
  ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }, kWaitMs));
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(park->IntValue(), 359);
}

TEST_F(KtNumEditWidget, LeavingWithATextThatIsNoNumberReportsTheErrorAndKeepsTheText) {
  focus(park);
  QTest::keyClicks(park, "12e");
  QTest::keyClick(park, Qt::Key_Tab);
  ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }, kWaitMs));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "'12E' is not a valid floating point value");
  EXPECT_EQ(park->text(), "12E");
  EXPECT_EQ(exits, 0);
}

TEST_F(KtNumEditWidget, AnErrorFromTheExitHandlerIsReportedNotThrownThroughQt) {
  park->SetOnExit([] { throw std::runtime_error("Cannot write QV_M.ini"); });
  focus(park);
  QTest::keyClick(park, Qt::Key_Tab);
  ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }, kWaitMs));
  EXPECT_EQ(errors, std::vector<std::string>{"Cannot write QV_M.ini"});
}

TEST_F(KtNumEditWidget, TheExitHandlerSeesTheReformattedField) {
  QString seen;
  int64_t value = -1;
  park->SetOnExit([&] {
    seen = park->text();
    value = park->IntValue();
  });
  focus(park);
  park->setText("007.0");  // as the program may set it
  QTest::keyClick(park, Qt::Key_Tab);
  ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }, kWaitMs));
  EXPECT_EQ(seen, "7");
  EXPECT_EQ(value, 7);
  EXPECT_EQ(park->text(), "7");
}

TEST_F(KtNumEditWidget, EditingKeysGoThroughTheRulesAndArrowsMoveTheCaret) {
  park->SetValue(125);
  focus(park);
  QTest::keyClick(park, Qt::Key_End);
  QTest::keyClick(park, Qt::Key_Left);
  QTest::keyClick(park, Qt::Key_Left);
  QTest::keyClicks(park, "-");  // the sign goes in front wherever the caret is
  EXPECT_EQ(park->text(), "-125");
  EXPECT_EQ(park->cursorPosition(), 2) << "still in front of the 2";
  QTest::keyClick(park, Qt::Key_Delete);
  EXPECT_EQ(park->text(), "-15");
  QTest::keyClick(park, Qt::Key_End);
  QTest::keyClick(park, Qt::Key_Backspace);
  QTest::keyClick(park, Qt::Key_Backspace);
  EXPECT_EQ(park->text(), "-");
  QTest::keyClick(park, Qt::Key_Backspace);
  EXPECT_EQ(park->text(), "0");
  EXPECT_EQ(beeps, 0);
}

TEST_F(KtNumEditWidget, RefusedKeysBeepAndChangeNothing) {
  park->SetValue(42);
  focus(park);
  QTest::keyClick(park, Qt::Key_End);
  QTest::keyClicks(park, "a+ ");
  QTest::keyClick(park, Qt::Key_Return);
  QTest::keyClick(park, Qt::Key_Escape);
  EXPECT_EQ(park->text(), "42");
  EXPECT_EQ(beeps, 5);
}

TEST_F(KtNumEditWidget, PasteTypesEachCharacterAndBeepsForTheLetter) {
  QGuiApplication::clipboard()->setText("12a34");
  focus(park);
  QTest::keyClick(park, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(park->text(), "1234");
  EXPECT_EQ(beeps, 1);
  park->selectAll();
  QTest::keyClick(park, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1234");
  EXPECT_EQ(park->text(), "0");
}

TEST_F(KtNumEditWidget, AClickIntoTheFieldSelectsItsContent) {
  park->SetValue(123);
  focus(other);
  QTest::mouseClick(park, Qt::LeftButton, Qt::NoModifier,
                    QPoint(park->width() / 2, park->height() / 2));
  ASSERT_TRUE(QTest::qWaitFor([&] { return park->hasFocus(); }, kWaitMs));
  EXPECT_EQ(park->selectedText(), "123");
}

TEST_F(KtNumEditWidget, TheTextFollowsALocaleChange) {
  park->SetValue(1.5L);
  park->setLocale(QLocale(QLocale::German, QLocale::Germany));
  ASSERT_TRUE(QTest::qWaitFor([&] { return park->text() == "1,5"; }, kWaitMs));
  EXPECT_EQ(park->Value(), 1.5L);
  focus(park);
  QTest::keyClick(park, Qt::Key_End);
  QTest::keyClicks(park, ".,");  // "." is the German thousands separator
  EXPECT_EQ(park->text(), "1,5");
  EXPECT_EQ(beeps, 1);
}

TEST_F(KtNumEditWidget, ColoursFollowEnabledAndTheParent) {
  EXPECT_EQ(park->Color(), park->palette().color(QPalette::Base));
  park->SetDisabledColor(Qt::darkGray);
  park->setEnabled(false);
  EXPECT_EQ(park->palette().color(QPalette::Base), QColor(Qt::darkGray));
  park->setEnabled(true);
  park->SetColor(Qt::yellow);
  EXPECT_EQ(park->palette().color(QPalette::Base), QColor(Qt::yellow));

  QPalette windowPalette = window.palette();
  windowPalette.setColor(window.backgroundRole(), Qt::cyan);
  window.setPalette(windowPalette);
  park->SetParentColor(true);
  EXPECT_EQ(park->Color(), QColor(Qt::cyan));
  windowPalette.setColor(window.backgroundRole(), Qt::magenta);
  window.setPalette(windowPalette);
  EXPECT_EQ(park->Color(), QColor(Qt::magenta));
  park->SetColor(Qt::yellow);
  EXPECT_FALSE(park->ParentColor());
}

}  // namespace
