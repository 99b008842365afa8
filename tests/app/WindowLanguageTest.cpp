// The language file's texts on the window.

#include "tests/app/PanelFixture.h"
#include "tests/app/PanelInput.h"

namespace {

using WindowLanguage = PanelTest;

struct WindowTexts {
  QString label2, button1, group3, group4, group5, hint3, hint4;
  bool operator==(const WindowTexts&) const = default;
};

WindowTexts textsOf(const TForm1& form) {
  return {form.Label2->text(),       form.Button1->text(),    form.GroupBox3->title(),
          form.GroupBox4->title(),   form.GroupBox5->title(), form.KtNumEdit3->toolTip(),
          form.KtNumEdit4->toolTip()};
}

TEST_F(WindowLanguage, TheShippedFileLabelsTheWindowInEachLanguage) {
  CopyLanguageFile();
  struct Case {
    const char* code;
    WindowTexts texts;
  };
  const Case cases[] = {
      {"EN",
       {"Language", "Exit", "Manual 1", "Manual 1+2", "Manual 2", "Parking Position 1",
        "Parking Position 2"}},
      {"DE",
       {"Sprache", "Ende", "Hand 1", "Hand 1+2", "Hand 2", "Parkposition 1", "Parkposition 2"}},
      {"FR",
       {"Langue", "Quitter", "Manuel 1", "Manuel 1+2", "Manuel 2", "Position de parking 1",
        "Position de parking 2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    WriteSettings({"1", c.code, "1000", "10", "0", "0", "2", "50", "50"});
    const auto form = StartPanel();
    EXPECT_EQ(textsOf(*form), c.texts);
    EXPECT_EQ(form->ComboBox2->currentText(), c.code);
    EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
  }
}

TEST_F(WindowLanguage, ALanguageWithoutSomeEntriesKeepsTheTextsLoadedBefore) {
  WriteFile("QV_M_language.csv", "EN;01;Language\r\nEN;05;Manual\r\nDE;05;Hand\r\nDE;02;Ende\r\n");
  const auto form = StartPanel();
  PickItem(form->ComboBox2, 1);
  EXPECT_EQ(form->Label2->text(), "Language");
  EXPECT_EQ(form->GroupBox3->title(), "Hand 1");
  EXPECT_EQ(form->Button1->text(), "Ende");
}

TEST_F(WindowLanguage, AFirstLoadWithoutLinesOfTheCodeLeavesOnlyTheSuffixes) {
  WriteFile("QV_M_language.csv", "DE;05;Hand\r\n");
  const auto form = StartPanel();
  EXPECT_EQ(textsOf(*form), (WindowTexts{"", "", " 1", " 1+2", " 2", " 1", " 2"}));
}

TEST_F(WindowLanguage, AMissingFileIsReportedAtEveryLanguageChange) {
  const auto form = StartPanel();
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError).at(0), kLanguageFileMissing);
  messages.clear();
  PickItem(form->ComboBox2, 2);
  PickItem(form->ComboBox2, 0);
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError),
            (std::vector<QString>{kLanguageFileMissing, kLanguageFileMissing}));
  EXPECT_EQ(form->Label2->text(), "Language") << "the design text stays";
}

TEST_F(WindowLanguage, AnEntryNumberThatIsNoNumberStopsTheStartUpWithNothingApplied) {
  WriteFile("QV_M_language.csv", "EN;02;Quit\r\nEN;5;Manual\r\n");
  const auto form = StartPanel();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Kind, MessageBoxKind::StandardError);
  EXPECT_EQ(messages[0].Text, "'5;' is not a valid integer value");
  EXPECT_EQ(form->Button1->text(), "Exit");
  EXPECT_EQ(form->LangTable[2], "Quit");
  EXPECT_EQ(form->ComboBox1->currentText(), "") << "start-up ended there";
}

TEST_F(WindowLanguage, ATextThatLooksLikeMarkupIsShownAsItIs) {
  WriteFile("QV_M_language.csv", "EN;01;<b>Sprache</b>\r\n");
  const auto form = StartPanel();
  EXPECT_EQ(form->Label2->text(), "<b>Sprache</b>");
  EXPECT_EQ(form->Label2->textFormat(), Qt::PlainText);
  EXPECT_GT(form->Label2->width(), form->fontMetrics().horizontalAdvance("Sprache"));
}

TEST_F(WindowLanguage, LongTextsAreCutToAHundredCharacters) {
  const std::string longText(150, 'L');
  WriteFile("QV_M_language.csv", "EN;02;" + longText + "\r\n");
  const auto form = StartPanel();
  EXPECT_EQ(form->Button1->text(), QString(100, 'L'));
}

TEST_F(WindowLanguage, TheInvalidInputMessageFollowsTheLastLoad) {
  CopyLanguageFile();
  const auto form = StartPanel();
  PickItem(form->ComboBox2, 1);
  messages.clear();
  TypeInto(form->ComboBox3, "1x");
  EXPECT_EQ(Messages(MessageBoxKind::ProgramError),
            (std::vector<QString>{"Ungültige Eingabe \"1x\" !"}));
}

}  // namespace
