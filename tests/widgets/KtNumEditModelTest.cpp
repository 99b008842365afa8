#include <gtest/gtest.h>

#include <cmath>

#include "ModelField.h"
#include "widgets/ConvertError.h"

namespace {

const NumberSeparators kGerman{u',', u'.'};

TEST(KtNumEditModel, ValueReadsTheCleanedText) {
  const struct {
    const char16_t* text;
    NumberSeparators separators;
    long double value;
  } rows[] = {
      {u"", {}, 0},
      {u"12.5", {}, 12.5L},
      {u"-12.5", {}, -12.5L},
      {u"1,234.5", {}, 1234.5L},  // thousands separators are dropped
      {u"1E3", {}, 1000},
      {u"1,5", kGerman, 1.5L},
      {u"1.234,5", kGerman, 1234.5L},
  };
  for (const auto& row : rows) {
    ModelField field;
    field.separators = row.separators;
    field.model.SeparatorsChanged();
    field.model.SetText(row.text);
    EXPECT_EQ(field.model.Value(), row.value);
  }
  ModelField field;
  field.model.SetText(u"-");
  const long double minusZero = field.model.Value();
  EXPECT_EQ(minusZero, 0);
  EXPECT_TRUE(std::signbit(minusZero));
}

TEST(KtNumEditModel, AnExponentWithoutDigitsRaisesTheConversionError) {
  ModelField field;
  field.model.SetText(u"1E");
  try {
    field.model.Value();
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "'1E' is not a valid floating point value");
  }
  EXPECT_THROW(field.model.IntValue(), EConvertError);
}

TEST(KtNumEditModel, IntValueTruncatesTowardZero) {
  const struct {
    const char16_t* text;
    int64_t value;
  } rows[] = {{u"12.9", 12}, {u"-12.9", -12}, {u"359.9", 359}, {u"12.7", 12},
              {u"-3.5", -3}, {u"0.5", 0},     {u"1E3", 1000}};
  for (const auto& row : rows) {
    ModelField field;
    field.model.SetText(row.text);
    EXPECT_EQ(field.model.IntValue(), row.value);
  }
  ModelField field;
  field.model.SetText(u"1E30");
  EXPECT_THROW(field.model.IntValue(), EConvertError);
}

TEST(KtNumEditModel, WritingValueFormatsWithoutRangeCheck) {
  ModelField field;
  field.model.SetMaxValue(359);
  field.model.SetValue(400);
  EXPECT_EQ(field.model.Text(), u"400");
  field.model.SetValue(-12.5L);
  EXPECT_EQ(field.model.Text(), u"-12.5");
  EXPECT_EQ(field.beeps, 0);
}

TEST(KtNumEditModel, RangeBoundsAreSetByRaisingMaxValueFirst) {
  ModelField field;
  field.model.SetMinValue(10);  // above MaxValue 0: ignored
  EXPECT_EQ(field.model.MinValue(), 0);
  field.model.SetMaxValue(359);
  field.model.SetMinValue(10);
  EXPECT_EQ(field.model.MinValue(), 10);
  field.model.SetMaxValue(5);  // below MinValue: ignored
  EXPECT_EQ(field.model.MaxValue(), 359);
  field.model.SetMinValue(-10);
  EXPECT_EQ(field.model.MinValue(), -10);
}

TEST(KtNumEditModel, DecimalsAreClampedAndReformatTheText) {
  ModelField field;
  field.model.SetValue(1.5L);
  field.model.SetDecimals(2);
  EXPECT_EQ(field.model.Text(), u"1.50");
  field.model.SetDecimals(-5);
  EXPECT_EQ(field.model.Decimals(), -1);
  EXPECT_EQ(field.model.Text(), u"1.5");
  field.model.SetDecimals(20);
  EXPECT_EQ(field.model.Decimals(), 14);
  field.model.SetMaxLength(6);
  field.model.SetDecimals(10);
  EXPECT_EQ(field.model.Decimals(), 4);  // room for a digit and the separator
}

TEST(KtNumEditModel, NumberFormatReformatsTheText) {
  ModelField field;
  field.model.SetValue(1234567);
  field.model.SetNumberFormat(TNumberFormat::Thousands);
  EXPECT_EQ(field.model.Text(), u"1,234,567");
  field.model.SetNumberFormat(TNumberFormat::Scientific);
  EXPECT_EQ(field.model.Text(), u"1.234567E6");
}

// KtNumEdit3 holds the park position of axis 1: 0 to 359.
TEST(KtNumEditExit, OutOfRangeIsCorrectedWithABeepAndTheFocusBackInsteadOfOnExit) {
  ModelField field;
  field.model.SetMaxValue(359);
  field.show(u"0", 0, 1);
  field.type(u"400");
  field.model.Exit();
  EXPECT_EQ(field.model.Text(), u"359");
  EXPECT_EQ(field.beeps, 1);
  EXPECT_EQ(field.refocuses, 1);
  EXPECT_EQ(field.exits, 0);
  field.model.Exit();
  EXPECT_EQ(field.exits, 1);
  EXPECT_EQ(field.beeps, 1);
  EXPECT_EQ(field.refocuses, 1);
}

// KtNumEdit4 holds the park position of axis 2: 0 to 180.
TEST(KtNumEditExit, BelowTheRangeTakesMinValue) {
  ModelField field;
  field.model.SetMaxValue(180);
  field.show(u"0", 0, 1);
  field.type(u"-5");
  EXPECT_EQ(field.model.Text(), u"-5");
  field.model.Exit();
  EXPECT_EQ(field.model.Text(), u"0");
  EXPECT_EQ(field.exits, 0);
}

TEST(KtNumEditExit, ReformatsAndRaisesOnExitWithoutRange) {
  ModelField field;
  field.show(u"007.50", 0);
  field.model.Exit();
  EXPECT_EQ(field.model.Text(), u"7.5");
  EXPECT_EQ(field.exits, 1);
}

TEST(KtNumEditExit, OnInvalidEntryReplacesTheCorrection) {
  ModelField field;
  int invalid = 0;
  field.model.SetOnInvalidEntry([&] { ++invalid; });
  field.model.SetMaxValue(359);
  field.model.SetValue(400);
  field.model.Exit();
  EXPECT_EQ(invalid, 1);
  EXPECT_EQ(field.model.Text(), u"400");
  EXPECT_EQ(field.beeps + field.refocuses + field.exits, 0);
}

TEST(KtNumEditExit, ATextThatIsNoNumberRaisesAndStaysAsTyped) {
  ModelField field;
  field.show(u"12", 2);
  field.type(u"E");
  EXPECT_THROW(field.model.Exit(), EConvertError);
  EXPECT_EQ(field.model.Text(), u"12E");
  EXPECT_EQ(field.exits, 0);
}

TEST(KtNumEditClipboard, PasteSendsEachCharacterThroughTheKeyFilter) {
  ModelField field;
  field.clipboard = u"12a34";
  field.show(u"0", 0, 1);
  field.model.PasteFromClipboard();
  EXPECT_EQ(field.model.Text(), u"1234");
  EXPECT_EQ(field.beeps, 1);
}

TEST(KtNumEditClipboard, APastedCtrlVIsRefusedInsteadOfPastingAgain) {
  ModelField field;
  field.clipboard =
      u"1\x16"
      u"2\x03\x18";
  field.show(u"0", 0, 1);
  field.model.KeyPress(22);
  EXPECT_EQ(field.model.Text(), u"12");
  EXPECT_EQ(field.beeps, 3);
  EXPECT_EQ(field.clipboard,
            u"1\x16"
            u"2\x03\x18");
}

TEST(KtNumEditClipboard, CopyAndCutTakeTheSelectionWithoutGrouping) {
  ModelField field;
  field.model.SetNumberFormat(TNumberFormat::Thousands);
  field.model.SetValue(1234.5L);
  field.model.SetSel(0, 5);  // "1,234"
  field.model.KeyPress(3);
  EXPECT_EQ(field.clipboard, u"1234");
  field.model.SetSel(0, 0);
  field.model.CopyToClipboard();  // nothing selected: the clipboard stays
  EXPECT_EQ(field.clipboard, u"1234");
  field.model.SetSel(0, 7);
  field.model.KeyPress(24);
  EXPECT_EQ(field.clipboard, u"1234.5");
  EXPECT_EQ(field.model.Text(), u"0");
}

TEST(KtNumEditClipboard, ReadOnlyCutOnlyCopiesAndPasteDoesNothing) {
  ModelField field;
  field.model.SetValue(42);
  field.model.SetReadOnly(true);
  field.model.SetSel(0, 2);
  field.model.CutToClipboard();
  EXPECT_EQ(field.clipboard, u"42");
  EXPECT_EQ(field.model.Text(), u"42");
  field.clipboard = u"7";
  field.model.PasteFromClipboard();
  EXPECT_EQ(field.model.Text(), u"42");
}

TEST(KtNumEditClipboard, ClearCallsOnClearInsteadOfDeleting) {
  ModelField field;
  field.model.SetValue(42);
  field.model.SetSel(0, 1);
  int clears = 0;
  field.model.SetOnClear([&] { ++clears; });
  field.model.ClearSelection();
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(field.model.Text(), u"42");
  field.model.SetOnClear(nullptr);
  field.model.ClearSelection();
  EXPECT_EQ(field.model.Text(), u"2");
}

TEST(KtNumEditSeparators, TranslateSwapsBothSeparatorsAtOnce) {
  ModelField field;
  field.separators = kGerman;
  EXPECT_EQ(field.model.TranslateSeparators(u"1,234.5"), u"1.234,5");
  EXPECT_EQ(field.model.TranslateSeparators(u"1,234.5"), u"1,234.5") << "now remembered";
}

TEST(KtNumEditSeparators, TheTextFollowsALocaleChange) {
  ModelField field;
  field.model.SetNumberFormat(TNumberFormat::Thousands);
  field.model.SetValue(1234.5L);
  field.separators = kGerman;
  field.model.SeparatorsChanged();
  EXPECT_EQ(field.model.Text(), u"1.234,5");
  EXPECT_EQ(field.model.Value(), 1234.5L);
}

TEST(KtNumEditSeparators, ReadingBeforeTheChangeNoticeStillReadsTheNumberShown) {
  ModelField field;
  field.model.SetValue(1.5L);
  field.separators = kGerman;
  EXPECT_EQ(field.model.StripFormatting(u"2.5"), u"2,5");
  EXPECT_EQ(field.model.Value(), 1.5L);
  field.model.SeparatorsChanged();
  EXPECT_EQ(field.model.Text(), u"1,5");
  EXPECT_EQ(field.model.Value(), 1.5L);
}

TEST(KtNumEditFocus, AClickThatGivesTheFocusSelectsAllOnce) {
  ModelField field;
  field.model.SetValue(123);
  field.model.Enter(true);
  EXPECT_EQ(field.model.SelLength(), 3);
  field.model.SetSel(1, 0);  // where the click put the caret
  field.model.MouseDown(true);
  EXPECT_EQ(field.model.SelLength(), 3);
  field.model.SetSel(1, 0);
  field.model.MouseDown(true);  // a later click just places the caret
  EXPECT_EQ(field.model.SelLength(), 0);
}

TEST(KtNumEditFocus, EnteringByKeyboardSelectsAllButClicksDoNot) {
  ModelField field;
  field.model.SetValue(123);
  field.model.Enter(false);
  EXPECT_EQ(field.model.SelLength(), 3);
  field.model.SetSel(1, 0);
  field.model.MouseDown(true);
  EXPECT_EQ(field.model.SelLength(), 0);
  field.model.Enter(true);
  field.model.KeyDown(EditKey::Other);  // a key clears the pending click
  field.model.SetSel(1, 0);
  field.model.MouseDown(true);
  EXPECT_EQ(field.model.SelLength(), 0);
  field.model.SetAutoSelect(false);
  field.model.Enter(false);
  EXPECT_EQ(field.model.SelLength(), 0);
}

}  // namespace
