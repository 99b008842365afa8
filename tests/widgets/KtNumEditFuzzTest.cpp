#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "ModelField.h"
#include "widgets/ConvertError.h"

namespace {

constexpr int kSteps = 200000;

// Keys worth pressing: everything the filter knows, both locales' separators,
// and some it must refuse (Ctrl+C, Ctrl+V and Ctrl+X among them).
const std::u16string kKeys = u"0123456789012345-----EEe..,,+ a\r\x1b\x03\x16\x18\u00e9";

class Fuzzer {
 public:
  explicit Fuzzer(uint32_t seed) : random_(seed) {}

  // One random operation; returns whether it was typing or pasting.
  bool step(ModelField& field) {
    KtNumEditModel& model = field.model;
    const int size = static_cast<int>(model.Text().size());
    switch (pick(20)) {
      case 0:
        model.SetSel(pick(size + 5) - 2, pick(size + 5) - 2);
        return false;
      case 1:
        field.clipboard = randomKeys(pick(40));
        model.PasteFromClipboard();
        return true;
      case 2:
        model.CopyToClipboard();
        return false;
      case 3:
        model.CutToClipboard();
        return false;
      case 4:
        model.Exit();
        return false;
      case 5:
        model.SetValue(randomValue());
        return false;
      case 6:
        changeProperty(field);
        return false;
      case 7:
        field.press(pick(2) == 0 ? EditKey::Backspace : EditKey::Delete);
        return false;
      case 8:
        model.Enter(pick(2) == 0);
        model.MouseDown(pick(2) == 0);
        return false;
      default:
        field.type(randomKeys(1));
        return true;
    }
  }

 private:
  int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  std::u16string randomKeys(int count) {
    std::u16string keys;
    for (int i = 0; i < count; ++i) keys += kKeys[pick(static_cast<int>(kKeys.size()))];
    return keys;
  }

  long double randomValue() {
    const long double mantissa = std::uniform_real_distribution<double>(-10, 10)(random_);
    switch (pick(4)) {
      case 0:
        return std::trunc(mantissa * 40);  // whole degrees
      case 1:
        return std::ldexp(mantissa, pick(32000) - 16000);  // far into the exponent range
      default:
        return mantissa;
    }
  }

  void changeProperty(ModelField& field) {
    KtNumEditModel& model = field.model;
    switch (pick(6)) {
      case 0:
        model.SetNumberFormat(static_cast<TNumberFormat>(pick(4)));
        break;
      case 1:
        model.SetDecimals(static_cast<int8_t>(pick(20) - 3));
        break;
      case 2:
        model.SetMaxLength(std::array{0, 3, 8, 20}[pick(4)]);
        break;
      case 3:
        model.SetMaxValue(pick(400));
        model.SetMinValue(pick(3) - 1);
        break;
      case 4:
        field.separators =
            pick(2) == 0 ? NumberSeparators{u'.', u','} : NumberSeparators{u',', u'.'};
        if (pick(2) == 0) model.SeparatorsChanged();  // or not yet noticed
        break;
      default:
        model.SetReadOnly(pick(8) == 0);
        break;
    }
  }

  std::mt19937 random_;
};

// Long random sessions never crash, keep the text bounded and the selection
// inside it, and the text always reads as a number or raises EConvertError.
TEST(KtNumEditFuzz, RandomSessionsKeepTheFieldSound) {
  ModelField field;
  Fuzzer fuzzer(20240611);
  int numbers = 0;
  int conversionErrors = 0;
  for (int i = 0; i < kSteps; ++i) {
    const size_t before = field.model.Text().size();
    bool typing = false;
    try {
      typing = fuzzer.step(field);
    } catch (const EConvertError&) {
      ++conversionErrors;
    }
    const std::u16string& text = field.model.Text();
    const int limit =
        field.model.MaxLength() > 0 ? field.model.MaxLength() : KtNumEditModel::kTextLimit;
    // Typing stays within the limit, but deleting everything shows the
    // formatted zero, and Thousands fields regroup from the value after each
    // key, which writes an exponent out in full; formatted values of any kind
    // stay below 8000.
    if (typing && field.model.NumberFormat() != TNumberFormat::Thousands) {
      const size_t zero = field.model.FormatNumber(0).size();
      ASSERT_LE(text.size(), std::max({before, static_cast<size_t>(limit), zero})) << "step " << i;
    }
    ASSERT_LE(text.size(), 8000u) << "step " << i;
    ASSERT_LE(field.model.SelStart() + field.model.SelLength(), static_cast<int>(text.size()));
    ASSERT_GE(field.model.SelStart(), 0);
    ASSERT_GE(field.model.SelLength(), 0);
    try {
      field.model.Value();
      ++numbers;
    } catch (const EConvertError&) {
      ++conversionErrors;
    }
  }
  // The session went through both kinds of text.
  EXPECT_GT(numbers, kSteps / 10);
  EXPECT_GT(conversionErrors, 100);
  EXPECT_GT(field.beeps, 1000);
}

}  // namespace
