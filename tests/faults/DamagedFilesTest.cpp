// Settings and language files holding binary garbage, very long lines or tens of megabytes:
// each start-up shows the stated error or none, in a box of readable size, and reading them
// never takes memory in proportion to the file.

#include "tests/faults/LargeFiles.h"
#include "tests/faults/MeasuredPanel.h"

namespace {

using DamagedFiles = MeasuredPanelTest;

const QString notAnInteger = QStringLiteral("' is not a valid integer value");
constexpr size_t kLongLine = 10 * kMiB;
constexpr size_t kHugeFile = 50 * kMiB;

const std::vector<std::string> kValidSettings = {"3",  "DE", "2000", "10", "45",
                                                 "90", "0",  "60",   "70"};

std::string settingsText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

struct WindowTexts {
  QString label2, button1, group3;
  bool operator==(const WindowTexts&) const = default;
};

WindowTexts textsOf(const TForm1& form) {
  return {form.Label2->text(), form.Button1->text(), form.GroupBox3->title()};
}

const WindowTexts kEnglishTexts = {"Language", "Exit", "Manual 1"};

// The start-up stopped with one conversion error about a text beginning with start, shown in
// a box of readable size.
void expectConversionError(const std::vector<QString>& errors, const QString& start) {
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].startsWith("'" + start)) << errors[0].left(80).toStdString();
  EXPECT_TRUE(errors[0].endsWith(notAnInteger)) << errors[0].right(80).toStdString();
  EXPECT_LE(errors[0].size(), kMessageTextLimit);
}

TEST_F(DamagedFiles, SettingsOfBinaryGarbageStopTheStartUpAtTheirFirstLine) {
  WriteFile("QV_M.ini", std::string("\xFF").append(Garbage(64 << 10, 11)));
  const auto form = StartMeasured();
  expectConversionError(Messages(MessageBoxKind::StandardError), "");
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->Timer1->Enabled());
  ExpectMemoryBounded();
}

TEST_F(DamagedFiles, AVeryLongNumberInTheSettingsIsReportedInABoxOfReadableSize) {
  WriteFilledFile(Path("QV_M.ini"), "", "1", kLongLine, "\r\n" + settingsText(kValidSettings));
  const auto form = StartMeasured();
  expectConversionError(Messages(MessageBoxKind::StandardError), "1111111111");
  EXPECT_FALSE(form->Timer1->Enabled());
  ExpectMemoryBounded();
}

TEST_F(DamagedFiles, AVeryLongLanguageCodeMatchesNoLanguageAndTheFirstSaveReplacesIt) {
  CopyLanguageFile();
  WriteFilledFile(Path("QV_M.ini"), "1\r\n", "EN", kLongLine,
                  "\r\n1000\r\n10\r\n0\r\n0\r\n2\r\n50\r\n50\r\n");
  const auto form = StartMeasured();
  EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
  EXPECT_EQ(textsOf(*form), (WindowTexts{"", "", " 1"})) << "no line of the file is its";
  EXPECT_EQ(form->ComboBox2->currentText(), "Language");
  EXPECT_EQ(SettingsLines().at(1), "Language");
  ExpectMemoryBounded();
}

TEST_F(DamagedFiles, AHugeSettingsFileIsReadUpToItsNinthLine) {
  WriteFilledFile(Path("QV_M.ini"), settingsText(kValidSettings), "more\r\n", kHugeFile);
  const auto form = StartMeasured();
  EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
  EXPECT_EQ(form->ComboBox1->currentText(), "3");
  EXPECT_EQ(form->KtNumEdit4->text(), "90");
  EXPECT_EQ(SettingsLines(), kValidSettings) << "the first save leaves the nine lines";
  ExpectMemoryBounded();
}

TEST_F(DamagedFiles, AHugeSettingsFileOfOneLineIsReportedInABoxOfReadableSize) {
  WriteFilledFile(Path("QV_M.ini"), "", "7", kHugeFile);
  const auto form = StartMeasured();
  expectConversionError(Messages(MessageBoxKind::StandardError), "7777777777");
  ExpectMemoryBounded();
}

TEST_F(DamagedFiles, GarbageBetweenTheLanguageLinesIsSkipped) {
  WriteFile("QV_M_language.csv", "EN;01;Language\r\n" + Garbage(kMiB, 12) + "\r\nEN;02;Exit\r\n" +
                                     Garbage(kMiB, 13) + "\r\nEN;05;Manual\r\n");
  const auto form = StartMeasured();
  EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
  EXPECT_EQ(textsOf(*form), kEnglishTexts);
  ExpectMemoryBounded();
}

TEST_F(DamagedFiles, AVeryLongLanguageLineGivesItsFirstHundredCharacters) {
  WriteFilledFile(Path("QV_M_language.csv"), "EN;01;", "x", kLongLine,
                  "\r\nEN;02;Exit\r\nEN;05;Manual\r\n");
  const auto form = StartMeasured();
  EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
  EXPECT_EQ(textsOf(*form), (WindowTexts{QString(100, 'x'), "Exit", "Manual 1"}));
  ExpectMemoryBounded();
}

TEST_F(DamagedFiles, AHugeLanguageFileIsReadLineByLine) {
  const std::string comment = "// " + std::string(1000, '-') + "\r\n";
  WriteFilledFile(Path("QV_M_language.csv"), "EN;01;Language\r\n", comment, kHugeFile,
                  "\r\nEN;02;Exit\r\nEN;05;Manual\r\n");
  const auto form = StartMeasured();
  EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
  EXPECT_EQ(textsOf(*form), kEnglishTexts);
  ExpectMemoryBounded();
}

TEST_F(DamagedFiles, AHugeLanguageFileOfOneLineGivesItsFirstHundredCharacters) {
  WriteFilledFile(Path("QV_M_language.csv"), "EN;02;", "\xE9", kHugeFile);
  const auto form = StartMeasured();
  EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
  EXPECT_EQ(form->Button1->text(), QString(100, QChar(0xE9))) << "code page 1252";
  ExpectMemoryBounded();
}

}  // namespace
