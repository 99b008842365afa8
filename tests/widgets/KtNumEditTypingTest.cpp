#include <gtest/gtest.h>

#include "ModelField.h"
#include "widgets/ConvertError.h"

namespace {

using F = TNumberFormat;

struct TypingRow {
  const char16_t* text;  // shown before typing
  int caret;
  int selected;
  int decimals;
  const char16_t* keys;
  const char16_t* expected;
  int expectedCaret;
  int expectedBeeps;
  const char* why;
};

const TypingRow kTypingRows[] = {
    // Leading zeros and the sign.
    {u"0", 1, 0, -1, u"123", u"123", 3, 0, "the shown 0 is replaced, not kept"},
    {u"0", 0, 1, -1, u"123", u"123", 3, 0, "all selected (as on entering): replaced"},
    {u"-0", 2, 0, -1, u"7", u"-7", 2, 0, "the zero after the sign is replaced"},
    {u"-5", 0, 0, -1, u"3", u"-35", 2, 0, "nothing is typed in front of the sign"},
    {u"0.5", 1, 0, -1, u"7", u"7.5", 1, 0, "a leading 0 before the separator is replaced"},
    {u"12.5", 2, 0, -1, u"-", u"-12.5", 3, 0, "minus in the mantissa puts the sign in front"},
    {u"12.5", 2, 0, -1, u"--", u"12.5", 2, 0, "twice restores text and caret"},
    {u"-12.5", 3, 0, -1, u"-", u"12.5", 2, 0, "removes the sign"},
    {u"0", 0, 1, -1, u"-", u"-0", 1, 0, "the selection goes first, then the sign"},
    // The decimal separator.
    {u"1.25", 0, 0, -1, u".", u"1.25", 2, 0, "present: the caret only jumps behind it"},
    {u"1.25", 0, 2, -1, u".", u"1.25", 2, 0, "the selection is collapsed, not deleted"},
    {u"125", 1, 0, -1, u".", u"125.", 4, 0, "Decimals -1: appended at the end"},
    {u"125E3", 1, 0, -1, u".5", u"125.5E3", 5, 0, "Decimals -1: in front of the E"},
    {u"125", 1, 0, 2, u".", u"1.25", 2, 0, "Decimals 2: at the caret"},
    {u"125", 1, 0, 0, u".", u"125", 1, 1, "Decimals 0: refused"},
    // The exponent.
    {u"15", 0, 0, -1, u"e5", u"15E5", 4, 0, "e becomes E, appended at the end"},
    {u"1E5", 0, 0, -1, u"E", u"1E5", 2, 0, "present: the caret jumps behind it"},
    {u"1E5", 3, 0, -1, u"-", u"1E-5", 4, 0, "minus in the exponent toggles its sign"},
    {u"1E-5", 4, 0, -1, u"-", u"1E5", 3, 0, "and back"},
    {u"1E0", 2, 0, -1, u"5", u"1E5", 3, 0, "a lone zero after E is replaced"},
    {u"1E", 2, 0, -1, u"-5", u"1E-5", 4, 0, "sign, then the first digit"},
    {u"1E493", 5, 0, -1, u"2", u"1E4932", 6, 0, "4932 is the largest exponent"},
    {u"1E493", 5, 0, -1, u"3", u"1E493", 5, 1, "4933 is refused"},
    {u"1E-493", 6, 0, -1, u"2", u"1E-4932", 7, 0, "-4932 too"},
    {u"1E-493", 6, 0, -1, u"3", u"1E-493", 6, 1, "-4933 is refused"},
    {u"1E4932", 6, 0, -1, u"0", u"1E4932", 6, 1, "a fifth digit is refused"},
    {u"1E932", 2, 0, -1, u"5", u"1E932", 2, 1, "5932 in front is refused"},
    {u"1E932", 2, 0, -1, u"4", u"1E4932", 3, 0, "4932 in front is taken"},
    // Fixed decimals.
    {u"5.00", 2, 0, 2, u"25", u"5.25", 4, 0, "decimals overwrite the padding zeros"},
    {u"5.25", 4, 0, 2, u"1", u"5.25", 4, 1, "every place filled: refused"},
    {u"5.25", 0, 0, 2, u"3", u"35.25", 1, 0, "before the separator digits are inserted"},
    {u"1.", 2, 0, 2, u"234", u"1.23", 4, 1, "missing places are filled, then refused"},
    {u"1.5E3", 3, 0, 2, u"7", u"1.57E3", 4, 0, "the E is not overwritten"},
    {u"12", 2, 0, 2, u"3", u"123", 3, 0, "no separator: digits go in"},
    // The key filter: one beep per refused character, the text unchanged.
    {u"12", 2, 0, -1, u"a +,", u"12", 2, 4, "letters, blank, plus and thousands separator"},
    {u"12", 2, 0, -1, u"\r\x1b\t\x01\x1a", u"12", 2, 5, "control characters"},
    {u"12", 2, 0, -1, u"\u00e9\u0663", u"12", 2, 2, "non-ASCII letters and digits"},
};

TEST(KtNumEditTyping, FollowsTheKeyRules) {
  for (const TypingRow& row : kTypingRows) {
    ModelField field;
    field.model.SetDecimals(static_cast<int8_t>(row.decimals));
    field.show(row.text, row.caret, row.selected);
    field.type(row.keys);
    EXPECT_EQ(field.model.Text(), row.expected) << row.why;
    EXPECT_EQ(field.model.SelStart(), row.expectedCaret) << row.why;
    EXPECT_EQ(field.model.SelLength(), 0) << row.why;
    EXPECT_EQ(field.beeps, row.expectedBeeps) << row.why;
  }
}

TEST(KtNumEditTyping, ADigitBetweenEAndTheExponentSignRaisesTheConversionError) {
  ModelField field;
  field.show(u"1E-5", 2);
  try {
    field.model.KeyPress(u'3');
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "'3-5' is not a valid integer value");
  }
  EXPECT_EQ(field.model.Text(), u"1E-5");
}

TEST(KtNumEditTyping, ReadOnlyTakesNoKeysButCopies) {
  ModelField field;
  field.model.SetReadOnly(true);
  field.show(u"12", 0, 2);
  field.type(u"3-E.a");
  field.press(EditKey::Backspace);
  EXPECT_EQ(field.model.Text(), u"12");
  EXPECT_EQ(field.beeps, 0);
  field.model.KeyPress(3);
  EXPECT_EQ(field.clipboard, u"12");
}

TEST(KtNumEditTyping, MaxLengthLimitsTyping) {
  ModelField field;
  field.model.SetMaxLength(3);
  field.show(u"0", 1);
  field.type(u"1234");
  EXPECT_EQ(field.model.Text(), u"123");
  EXPECT_EQ(field.beeps, 1);
  field.type(u"-");  // a sign would make four characters as well
  EXPECT_EQ(field.model.Text(), u"123");
  EXPECT_EQ(field.beeps, 2);
}

TEST(KtNumEditTyping, TextNeverGrowsPastTheLimitOfAField) {
  ModelField field;
  field.clipboard = std::u16string(KtNumEditModel::kTextLimit + 5000, u'7');
  field.show(u"0", 0, 1);
  field.model.PasteFromClipboard();
  EXPECT_EQ(field.model.Text().size(), static_cast<size_t>(KtNumEditModel::kTextLimit));
  EXPECT_EQ(field.beeps, 1) << "a paste stops at the first character that does not fit";
}

struct DeleteRow {
  const char16_t* text;
  int caret;
  int decimals;
  TNumberFormat format;
  EditKey key;
  const char16_t* expected;
  int expectedCaret;
  const char* why;
};

const DeleteRow kDeleteRows[] = {
    {u"5", 1, -1, F::Standard, EditKey::Backspace, u"0", 1, "the last digit becomes 0"},
    {u"12", 2, -1, F::Standard, EditKey::Backspace, u"1", 1, "plain backspace"},
    {u"12", 0, -1, F::Standard, EditKey::Backspace, u"12", 0, "nothing before the caret"},
    {u"12", 2, -1, F::Standard, EditKey::Delete, u"12", 2, "nothing after the caret"},
    {u"12", 0, -1, F::Standard, EditKey::Delete, u"2", 0, "plain delete"},
    {u"1.25", 1, -1, F::Standard, EditKey::Delete, u"1.5", 2,
     "in front of the separator: the first decimal goes"},
    {u"1.25", 2, -1, F::Standard, EditKey::Backspace, u"0.25", 1,
     "behind the separator: the digit before it goes, a lone one becomes 0"},
    {u"-5", 1, -1, F::Standard, EditKey::Backspace, u"5", 0, "the sign goes"},
    {u"-", 1, -1, F::Standard, EditKey::Backspace, u"0", 0, "nothing left: 0"},
    {u"5E3", 1, -1, F::Standard, EditKey::Backspace, u"0E3", 1, "a lone digit before E is 0"},
    {u"1.25", 3, 2, F::Standard, EditKey::Backspace, u"1.50", 2,
     "fixed decimals: a zero is padded at the end"},
    {u"1.25E3", 3, 2, F::Scientific, EditKey::Delete, u"1.20E3", 3,
     "the padding zero goes before the E"},
    {u"1E5", 3, -1, F::Scientific, EditKey::Backspace, u"1E0", 2,
     "Scientific: an exponent without digits gets 0"},
    {u"1E5", 3, -1, F::Standard, EditKey::Backspace, u"1E", 2, "Standard: it does not"},
    {u"1,234", 1, -1, F::Thousands, EditKey::Delete, u"1,34", 2,
     "the thousands separator is skipped"},
};

TEST(KtNumEditDeleting, DeleteCharFollowsTheRules) {
  for (const DeleteRow& row : kDeleteRows) {
    ModelField field;
    field.model.SetDecimals(static_cast<int8_t>(row.decimals));
    field.model.SetNumberFormat(row.format);
    field.show(row.text, row.caret);
    field.model.DeleteChar(row.key);
    EXPECT_EQ(field.model.Text(), row.expected) << row.why;
    EXPECT_EQ(field.model.SelStart(), row.expectedCaret) << row.why;
  }
}

TEST(KtNumEditDeleting, BackspaceAndDeleteKeysDeleteTheSelectionWhenThereIsOne) {
  ModelField field;
  field.show(u"12345", 1, 2);
  field.press(EditKey::Delete);
  EXPECT_EQ(field.model.Text(), u"145");
  EXPECT_EQ(field.model.SelStart(), 1);
  field.show(u"1.25", 0, 3);  // "1.2": two digits, the separator stays
  field.press(EditKey::Backspace);
  EXPECT_EQ(field.model.Text(), u"0.5");
}

TEST(KtNumEditDeleting, DeletingEverythingShowsTheFormattedZero) {
  ModelField field;
  field.show(u"123", 0, 3);
  field.model.DeleteSelection();
  EXPECT_EQ(field.model.Text(), u"0");
  field.model.SetDecimals(2);
  field.show(u"12.50", 0, 5);
  field.model.DeleteSelection();
  EXPECT_EQ(field.model.Text(), u"0.00");
}

TEST(KtNumEditRegrouping, ThousandsRegroupAfterEachKeyWithTheCaretAmongTheSameDigits) {
  ModelField field;
  field.model.SetNumberFormat(F::Thousands);
  field.show(u"0", 0, 1);
  field.type(u"1234");
  EXPECT_EQ(field.model.Text(), u"1,234");
  EXPECT_EQ(field.model.SelStart(), 5);
  field.type(u"5");
  EXPECT_EQ(field.model.Text(), u"12,345");
  EXPECT_EQ(field.model.SelStart(), 6);
  field.model.SetSel(0, 0);
  field.type(u"9");  // "912,345": the groups stay where they were
  EXPECT_EQ(field.model.Text(), u"912,345");
  field.type(u"8");  // "9812,345" regroups; the caret stays behind the 8
  EXPECT_EQ(field.model.Text(), u"9,812,345");
  EXPECT_EQ(field.model.SelStart(), 3);
  field.type(u"E");  // "9,812,345E" is no number yet: left alone
  EXPECT_EQ(field.model.Text(), u"9,812,345E");
  EXPECT_EQ(field.beeps, 0);
}

}  // namespace
