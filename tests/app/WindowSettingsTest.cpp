// The handlers that save the settings after every change and apply them again.

#include <sys/stat.h>

#include <QTest>

#include <filesystem>

#include "app/DiagMode.h"
#include "tests/app/PanelFixture.h"
#include "tests/app/PanelInput.h"

namespace {

class WindowSettings : public PanelTest {
 protected:
  void SetUp() override {
    CopyLanguageFile();
    WriteSettings({"1", "EN", "1000", "777", "0", "0", "2", "50", "50"});
    form = StartPanel();
    messages.clear();
  }

  std::unique_ptr<TForm1> form;
};

TEST_F(WindowSettings, EveryChangeRewritesTheFileAndKeepsTheReservedLine) {
  PickItem(form->ComboBox3, 3);
  EXPECT_EQ(form->Timer1->Interval(), 5000);
  EXPECT_EQ(SettingsLines(),
            (std::vector<std::string>{"1", "EN", "5000", "777", "0", "0", "2", "50", "50"}));

  PickItem(form->ComboBox4, 0);
  EXPECT_EQ(SettingsLines().at(6), "0");
  EXPECT_TRUE(form->Image2->isHidden());

  PickItem(form->ComboBox2, 2);
  EXPECT_EQ(SettingsLines().at(1), "FR");
  EXPECT_EQ(form->Button1->text(), "Quitter");

  FocusOn(form->KtNumEdit3);
  QTest::keyClicks(form->KtNumEdit3, "33");
  FocusOn(form->KtNumEdit1);
  EXPECT_EQ(SettingsLines(),
            (std::vector<std::string>{"1", "FR", "5000", "777", "33", "0", "0", "50", "50"}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(WindowSettings, AParkEntryWithAFractionIsStoredAndShownAsItsWholeNumber) {
  FocusOn(form->KtNumEdit3);
  QTest::keyClicks(form->KtNumEdit3, "12.7");
  FocusOn(form->KtNumEdit1);
  EXPECT_EQ(SettingsLines().at(4), "12");
  EXPECT_EQ(form->KtNumEdit3->text(), "12");
  EXPECT_EQ(form->Settings.Park1, 12);
}

TEST_F(WindowSettings, TypedAxisTextThatNamesNoItemStoresNoConfiguration) {
  TypeInto(form->ComboBox4, "x");
  EXPECT_EQ(form->Settings.AxisConfig, -1);
  EXPECT_EQ(SettingsLines().at(6), "-1");
  EXPECT_TRUE(form->Image2->isHidden());
  EXPECT_EQ(form->size().width(), DiagMode ? 401 : 201);
  EXPECT_TRUE(SamePixels(Shown(form->Image1), PictureFile("Windrose_AZ.jpg")));
  EXPECT_EQ(form->ComboBox4->currentText(), "x") << "the operator's text stays";

  // Typing an item's text in full selects that item.
  TypeInto(form->ComboBox4, "axis1=EL | axis2=none");
  EXPECT_EQ(form->Settings.AxisConfig, 1);
  EXPECT_TRUE(SamePixels(Shown(form->Image1), PictureFile("Windrose_EL.jpg")));
}

TEST_F(WindowSettings, ShowingAndHidingTheSecondDialResizesTheWindow) {
  const QSize two = form->size();
  PickItem(form->ComboBox4, 1);
  EXPECT_EQ(form->size(), DiagMode ? QSize(401, 499) : QSize(201, 405));
  PickItem(form->ComboBox4, 3);
  EXPECT_EQ(form->size(), two);
  EXPECT_TRUE(SamePixels(Shown(form->Image2), PictureFile("Windrose_AZ.jpg")));
}

TEST_F(WindowSettings, ARejectedPollRateIsReportedAndReplacedByTheFirstItem) {
  const std::string before = ReadFile("QV_M.ini");
  ClearBox(form->ComboBox3);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Kind, MessageBoxKind::ProgramError);
  EXPECT_EQ(messages[0].Text, "Invalid input \"\" !");
  EXPECT_EQ(form->ComboBox3->currentText(), "500");
  EXPECT_EQ(form->Settings.PollRate, 1000);
  EXPECT_EQ(ReadFile("QV_M.ini"), before);
}

TEST_F(WindowSettings, ALanguageCodeOtherThanTheThreeIsRejected) {
  TypeInto(form->ComboBox2, "D");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Text, "Invalid input \"D\" !");
  EXPECT_EQ(form->ComboBox2->currentText(), "EN");
  EXPECT_EQ(SettingsLines().at(1), "EN");
}

TEST_F(WindowSettings, ATextThatIsNoNumberInAnotherBoxEndsTheHandlerBeforeSaving) {
  const std::string before = ReadFile("QV_M.ini");
  form->ComboBox1->setEditText("x1");
  PickItem(form->ComboBox3, 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Kind, MessageBoxKind::StandardError);
  EXPECT_EQ(messages[0].Text, "'x1' is not a valid integer value");
  EXPECT_EQ(ReadFile("QV_M.ini"), before);
}

TEST_F(WindowSettings, AFailedSaveIsReportedAndLeavesTheFileWhole) {
  const std::string before = ReadFile("QV_M.ini");
  ASSERT_EQ(mkdir(Path("QV_M.ini.new").c_str(), 0755), 0);
  PickItem(form->ComboBox3, 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Kind, MessageBoxKind::StandardError);
  EXPECT_TRUE(messages[0].Text.startsWith("E/A-Fehler 21 (")) << messages[0].Text.toStdString();
  EXPECT_EQ(ReadFile("QV_M.ini"), before);
}

TEST_F(WindowSettings, ExitAndAFreshStartRestoreWhatWasShown) {
  std::filesystem::create_symlink(Path("no-such-port"), Path("COM4"));
  PickItem(form->ComboBox1, 3);
  PickItem(form->ComboBox2, 1);
  PickItem(form->ComboBox3, 2);
  PickItem(form->ComboBox4, 3);
  FocusOn(form->KtNumEdit3);
  QTest::keyClicks(form->KtNumEdit3, "45");
  FocusOn(form->KtNumEdit4);
  QTest::keyClicks(form->KtNumEdit4, "90");
  form->move(120, 130);
  // Still in the park field: only the destruction after Exit saves the typed 90.
  QTest::mouseClick(form->Button1, Qt::LeftButton);
  EXPECT_EQ(processEnds, 1);
  EXPECT_EQ(pauses, (std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(500)}));
  EXPECT_FALSE(form->Timer1->Enabled());
  form.reset();

  form = StartPanel();
  EXPECT_EQ(form->ComboBox1->currentText(), "4");
  EXPECT_EQ(form->SioComPort1.ComNumber(), 4);
  EXPECT_EQ(form->ComboBox2->currentText(), "DE");
  EXPECT_EQ(form->Button1->text(), "Ende");
  EXPECT_EQ(form->ComboBox3->currentText(), "2000");
  EXPECT_EQ(form->Timer1->Interval(), 2000);
  EXPECT_EQ(form->ComboBox4->currentIndex(), 3);
  EXPECT_EQ(form->KtNumEdit3->text(), "45");
  EXPECT_EQ(form->KtNumEdit4->text(), "90");
  EXPECT_EQ(form->pos(), QPoint(120, 130));
  EXPECT_EQ(SettingsLines().at(3), "777");
}

TEST_F(WindowSettings, ClosingTheWindowSavesOnCloseAndAgainOnDestruction) {
  form->move(80, 90);
  form->close();
  EXPECT_EQ(SettingsLines().at(7), "80");
  ASSERT_EQ(unlink(Path("QV_M.ini").c_str()), 0);
  form.reset();
  EXPECT_EQ(SettingsLines().at(8), "90");
  EXPECT_TRUE(messages.empty());
}

}  // namespace
