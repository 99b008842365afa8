// Start-up of the window: the settings file's first creation, what the stored settings show,
// and start-ups that stop at a failing step.

#include <QApplication>

#include <filesystem>

#include "app/DiagMode.h"
#include "app/DialPictures.h"
#include "tests/app/PanelFixture.h"

namespace {

using WindowStart = PanelTest;

QSize expectedClientSize(bool twoAxes) {
  if (DiagMode) return twoAxes ? QSize(405, 499) : QSize(401, 499);
  return twoAxes ? QSize(405, 406) : QSize(201, 405);
}

TEST_F(WindowStart, AFirstStartWritesTheDefaultsAndShowsTwoDials) {
  const auto form = StartPanel();
  EXPECT_EQ(ReadFile("QV_M.ini"), "1\r\nEN\r\n1000\r\n10\r\n0\r\n0\r\n2\r\n50\r\n50\r\n");
  EXPECT_EQ(form->pos(), QPoint(50, 50));
  EXPECT_EQ(form->size(), expectedClientSize(true));
  EXPECT_FALSE(form->Image2->isHidden());
  EXPECT_TRUE(SamePixels(Shown(form->Image1), PictureFile("Windrose_AZ.jpg")));
  EXPECT_TRUE(SamePixels(Shown(form->Image2), PictureFile("Windrose_EL.jpg")));
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.front().Kind, MessageBoxKind::ProgramError);
  EXPECT_EQ(messages.front().Text, kLanguageFileMissing);
  EXPECT_EQ(form->ComboBox1->currentText(), "1");
  EXPECT_EQ(form->ComboBox2->currentText(), "EN");
  EXPECT_EQ(form->ComboBox3->currentText(), "1000");
  EXPECT_EQ(form->ComboBox4->currentIndex(), 2);
  EXPECT_EQ(form->Timer1->Interval(), 1000);
  EXPECT_EQ(form->windowTitle(), "Azimara M V1.7");
}

TEST_F(WindowStart, TheAxisConfigurationChoosesTheDialsAndTheWindowSize) {
  struct Case {
    int config;
    bool twoAxes;
    const char* left;
    const char* right;  // nullptr: hidden
  };
  const Case cases[] = {
      {0, false, "Windrose_AZ.jpg", nullptr},
      {1, false, "Windrose_EL.jpg", nullptr},
      {2, true, "Windrose_AZ.jpg", "Windrose_EL.jpg"},
      {3, true, "Windrose_AZ.jpg", "Windrose_AZ.jpg"},
      {7, false, "Windrose_AZ.jpg", nullptr},
      {-1, false, "Windrose_AZ.jpg", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    WriteSettings({"1", "EN", "1000", "10", "0", "0", std::to_string(c.config), "60", "70"});
    const auto form = StartPanel();
    EXPECT_EQ(form->ComboBox4->currentIndex(), c.config >= 0 && c.config <= 3 ? c.config : -1);
    EXPECT_EQ(form->size(), expectedClientSize(c.twoAxes));
    EXPECT_EQ(form->pos(), QPoint(60, 70));
    for (QWidget* secondAxis :
         {static_cast<QWidget*>(form->Image2), static_cast<QWidget*>(form->Label7),
          static_cast<QWidget*>(form->GroupBox4), static_cast<QWidget*>(form->GroupBox5)}) {
      EXPECT_EQ(secondAxis->isHidden(), !c.twoAxes) << secondAxis->objectName().toStdString();
    }
    EXPECT_TRUE(SamePixels(Shown(form->Image1), PictureFile(c.left)));
    if (c.right != nullptr) {
      EXPECT_TRUE(SamePixels(Shown(form->Image2), PictureFile(c.right)));
    }
  }
}

TEST_F(WindowStart, AMissingPictureLeavesTheDialItHadAndEndsTheStartUp) {
  RemoveFile("Windrose_EL.jpg");
  WriteSettings({"1", "EN", "1000", "10", "0", "0", "1", "50", "50"});
  const auto form = StartPanel();
  ASSERT_EQ(messages.size(), 1u) << "nothing after the failed step, not even the language";
  EXPECT_EQ(messages[0].Kind, MessageBoxKind::StandardError);
  EXPECT_EQ(messages[0].Text,
            QString::fromStdString("Datei " + Path("Windrose_EL.jpg") +
                                   " kann nicht geöffnet werden. " + "No such file or directory"));
  EXPECT_TRUE(SamePixels(Shown(form->Image1), AzimuthRose()));
  EXPECT_EQ(form->ComboBox1->currentText(), "") << "the selectors are not set";
  EXPECT_FALSE(form->Timer1->Enabled());
}

TEST_F(WindowStart, ASettingsFileOfFewerThanNineLinesStopsAtTheFirstMissingNumber) {
  WriteSettings({"3", "DE", "2000", "10", "45"});
  const auto form = StartPanel();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Kind, MessageBoxKind::StandardError);
  EXPECT_EQ(messages[0].Text, "'' is not a valid integer value");
  EXPECT_EQ(form->Settings.ComNumber, 3);
  EXPECT_EQ(form->Settings.Park1, 45);
  EXPECT_EQ(form->KtNumEdit3->text(), "45") << "lines read before the error are applied";
  EXPECT_EQ(form->ComboBox3->currentText(), "");
  EXPECT_FALSE(form->Timer1->Enabled());
}

TEST_F(WindowStart, ALanguageCodeOtherThanTheThreeIsReplacedByTheBoxText) {
  WriteSettings({"1", "XX", "1000", "10", "0", "0", "2", "50", "50"});
  const auto form = StartPanel();
  EXPECT_EQ(form->ComboBox2->currentText(), "Language");
  EXPECT_EQ(SettingsLines().at(1), "Language");
}

TEST_F(WindowStart, APortNumberOutsideTheListFailsTheFirstSaveAndStartUpGoesOn) {
  WriteSettings({"40", "EN", "2000", "10", "5", "6", "2", "50", "50"});
  const auto form = StartPanel();
  const std::vector<QString> errors = Messages(MessageBoxKind::StandardError);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "'' is not a valid integer value");
  EXPECT_EQ(form->ComboBox1->currentIndex(), -1);
  EXPECT_EQ(form->KtNumEdit3->text(), "5") << "the steps after the first save ran";
  EXPECT_EQ(form->Timer1->Interval(), 2000);
  EXPECT_EQ(SettingsLines().at(0), "40") << "the file was not rewritten";
}

TEST_F(WindowStart, APictureOfAnotherSizeResizesItsDialAndTheWindow) {
  QImage big(300, 350, QImage::Format_RGB32);
  big.fill(Qt::blue);
  ASSERT_TRUE(big.save(QString::fromStdString(Path("Windrose_AZ.jpg")), "JPEG"));
  WriteSettings({"1", "EN", "1000", "10", "0", "0", "0", "50", "50"});
  const auto form = StartPanel();
  EXPECT_EQ(form->Image1->size(), QSize(300, 350));
  const int memoBottom = DiagMode ? 499 : 0;
  EXPECT_EQ(form->size(), QSize(DiagMode ? 401 : 300, std::max(96 + 350, memoBottom)));
}

TEST_F(WindowStart, TheDiagnosticWindowIsRedEvenWhenThePositionLogCannotBeCreated) {
  std::filesystem::create_directory(Path("QV_M.log"));
  const auto form = StartPanel();
  if (!DiagMode) {
    EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
    return;
  }
  EXPECT_EQ(form->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_FALSE(form->Memo1->isHidden());
  const std::vector<QString> errors = Messages(MessageBoxKind::StandardError);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors.front().contains("QV_M.log")) << errors.front().toStdString();
}

TEST_F(WindowStart, TheDiagnosticBuildShowsTheMemoOnRedAndCreatesThePositionLog) {
  WriteFile("QV_M.log", "old content\r\n");
  const auto form = StartPanel();
  EXPECT_EQ(form->Memo1->isHidden(), !DiagMode);
  EXPECT_EQ(ReadFile("QV_M.log"), DiagMode ? "" : "old content\r\n");
  const QColor background = form->palette().color(QPalette::Window);
  if (DiagMode) {
    EXPECT_EQ(background, QColor(255, 0, 0));
  } else {
    EXPECT_EQ(background, QApplication::palette().color(QPalette::Button));
  }
}

}  // namespace
