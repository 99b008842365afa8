#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CodePageText.h"
#include "app/LanguageFile.h"
#include "serial/SioExceptions.h"
#include "tests/app/FileTestHelpers.h"
#include "tests/tools/TemporaryDirectory.h"
#include "widgets/ConvertError.h"

namespace {

struct LineCase {
  std::string line;
  size_t entry;
  std::string text;
};

TEST(LanguageLine, ALineOfTheCodeStoresItsTextUnderItsNumber) {
  const std::vector<LineCase> cases = {
      {"EN;05;Manual", 5, "Manual"},
      {"EN 01 Language", 1, "Language"},
      {"EN;99;last", 99, "last"},
      {"EN;00;zero", 0, "zero"},
      {"EN;+7;plus", 7, "plus"},
      {"EN;08;", 8, ""},
      {"EN;08", 8, ""},
      {"EN;04; cannot be opened.\t", 4, " cannot be opened.\t"},
      // Positions count characters: a two-byte character is one position.
      {"FR;05\xC3\xA9Manuel", 5, "Manuel"},
      {"EN;05;Gr\xC3\xBC\xC3\x9F"
       "e",
       5,
       "Gr\xC3\xBC\xC3\x9F"
       "e"},
      // Not UTF-8: every byte is one character of code page 1252, as Windows wrote it.
      {"EN;05;Gr\xFC\xDF"
       "e",
       5,
       "Gr\xC3\xBC\xC3\x9F"
       "e"},
      {"FR;05;Man\x9Cuvre \x80 l\x92"
       "axe",
       5,
       "Man\xC5\x93uvre \xE2\x82\xAC l\xE2\x80\x99"
       "axe"},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    LanguageTexts table;
    table[c.entry] = "old";
    const std::string code = DecodeFileText(c.line).size() >= 2
                                 ? EncodeUtf8(DecodeFileText(c.line).substr(0, 2))
                                 : c.line;
    ReadLanguageLine(c.line, code, table);
    EXPECT_EQ(table[c.entry], c.text);
  }
}

TEST(LanguageLine, TheTextIsCutAfterItsHundredthCharacter) {
  LanguageTexts table;
  const std::string hundred(kLanguageTextLength, 'x');
  ReadLanguageLine("EN;05;" + hundred + "yz", "EN", table);
  EXPECT_EQ(table[5], hundred);
  // Counted in characters, not bytes.
  std::string wide;
  for (size_t i = 0; i < kLanguageTextLength + 3; ++i) wide += "\xC3\xA4";
  ReadLanguageLine("EN;06;" + wide, "EN", table);
  EXPECT_EQ(DecodeFileText(table[6]).size(), kLanguageTextLength);
}

TEST(LanguageLine, LinesOfOtherCodesAndNumbersOutsideTheTableChangeNothing) {
  const std::vector<std::string> lines = {
      "DE;05;Handbetrieb",        "en;05;manual", "", "# comment", "E", "EN;-5;minus",
      "EN;-0;minus zero is zero",  // "-0" is 0: a valid entry
  };
  LanguageTexts table;
  for (const std::string& line : lines) ReadLanguageLine(line, "EN", table);
  for (size_t entry = 1; entry < kLanguageEntryCount; ++entry) EXPECT_EQ(table[entry], "") << entry;
  EXPECT_EQ(table[0], "minus zero is zero");
}

TEST(LanguageLine, ACodeOfOtherThanTwoCharactersMatchesNoUsualLine) {
  LanguageTexts table;
  ReadLanguageLine("ENG;05;x", "ENG", table);
  ReadLanguageLine("EN;05;x", "E", table);
  for (const std::string& text : table) EXPECT_EQ(text, "");
}

TEST(LanguageLine, AnEntryNumberThatIsNoNumberIsAConversionError) {
  const std::vector<std::string> lines = {"EN;5;x", "EN;xx;x", "EN; 5;x", "EN", "EN;"};
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    LanguageTexts table;
    EXPECT_THROW(ReadLanguageLine(line, "EN", table), EConvertError);
  }
}

class LanguageFileRead : public testing::Test {
 protected:
  TemporaryDirectory directory;
  const std::string path = directory.Path(kLanguageFileName);
  LanguageTexts table;
};

TEST_F(LanguageFileRead, EveryLineOfTheCodeCountsAndTheLastOfAnEntryWins) {
  WriteBytes(path,
             "EN;01;Language\r\nDE;01;Sprache\r\nEN;05;Manual\r\n\r\nEN;05;Hand\r\nEN;02;Exit");
  table[3] = "kept";
  ReadLanguageFile(path, "EN", table);
  EXPECT_EQ(table[1], "Language");
  EXPECT_EQ(table[2], "Exit");
  EXPECT_EQ(table[3], "kept");
  EXPECT_EQ(table[5], "Hand");
}

TEST_F(LanguageFileRead, LineFeedLineEndsReadLikeCarriageReturnLineFeed) {
  WriteBytes(path, "FR;02;Quitter\nFR;05;Manuel\n");
  ReadLanguageFile(path, "FR", table);
  EXPECT_EQ(table[2], "Quitter");
  EXPECT_EQ(table[5], "Manuel");
}

TEST_F(LanguageFileRead, ABadNumberStopsTheReadingAndKeepsWhatWasStored) {
  WriteBytes(path, "EN;01;first\r\nEN;x1;bad\r\nEN;02;never\r\n");
  EXPECT_THROW(ReadLanguageFile(path, "EN", table), EConvertError);
  EXPECT_EQ(table[1], "first");
  EXPECT_EQ(table[2], "");
}

TEST_F(LanguageFileRead, AnEmptyFileReadsOneEmptyLine) {
  WriteBytes(path, "");
  ReadLanguageFile(path, "EN", table);
  for (const std::string& text : table) EXPECT_EQ(text, "");
  // The one empty line belongs to the empty code and has no number.
  EXPECT_THROW(ReadLanguageFile(path, "", table), EConvertError);
}

TEST_F(LanguageFileRead, LinesLongerThanTheReadBlockAreReadWhole) {
  const std::string longText(10000, 'a');
  WriteBytes(path, "EN;07;" + longText + "\r\nEN;08;after\r\n");
  ReadLanguageFile(path, "EN", table);
  EXPECT_EQ(table[7], std::string(kLanguageTextLength, 'a'));
  EXPECT_EQ(table[8], "after");
}

TEST_F(LanguageFileRead, AFileThatCannotBeReadIsAnInputOutputError) {
  EXPECT_THROW(ReadLanguageFile(directory.Path("missing.csv"), "EN", table), EInOutError);
}

TEST(FileText, ValidUtf8IsDecodedAndEverythingElseIsCodePage1252) {
  struct Case {
    std::string bytes;
    std::u32string characters;
  };
  const std::vector<Case> cases = {
      {"abc", U"abc"},
      {"\xC2\xB0", U"\u00B0"},
      {"\xE2\x82\xAC", U"\u20AC"},
      {"\xF0\x9F\x93\xA1", U"\U0001F4E1"},
      {"\xB0", U"\u00B0"},
      {"\xC0\xB0", U"\u00C0\u00B0"},                      // overlong
      {"\xED\xA0\x80", U"\u00ED\u00A0\u20AC"},            // surrogate
      {"\xE2\x82", U"\u00E2\u201A"},                      // cut short
      {"\xF4\x90\x80\x80", U"\u00F4\u0090\u20AC\u20AC"},  // beyond U+10FFFF
      // Code page 1252 where it differs from Latin-1, and the five bytes it leaves undefined.
      {"\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E",
       U"\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u017D"},
      {"\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F",
       U"\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E"
       U"\u0178"},
      {"\x81\x8D\x8F\x90\x9D", U"\u0081\u008D\u008F\u0090\u009D"},
      {"\xA0\xFF", U"\u00A0\u00FF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeFileText(c.bytes), c.characters) << c.bytes;
    if (c.bytes.size() > 1 && c.characters.size() == 1) {
      EXPECT_EQ(EncodeUtf8(c.characters), c.bytes);
    }
  }
}

}  // namespace

namespace {

TEST(ShippedLanguageFile, EachLanguageHasEveryTextTheWindowUses) {
  for (const char* code : {"EN", "DE", "FR"}) {
    SCOPED_TRACE(code);
    LanguageTexts table;
    ReadLanguageFile(std::string(AZIMARA_RESOURCES_DIR) + "/" + kLanguageFileName, code, table);
    for (const size_t entry : {EntryLanguageLabel, EntryExitButton, EntryPortError,
                               EntryManualGroups, EntryParkingHint, EntryInvalidInput}) {
      EXPECT_FALSE(table[entry].empty()) << entry;
    }
    // It follows "Port COM<n>" directly.
    EXPECT_EQ(table[EntryPortError].front(), ' ');
  }
}

}  // namespace
