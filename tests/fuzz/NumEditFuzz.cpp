// The numeric edit's rules driven by any sequence of keystrokes, pastes, selection changes,
// focus changes, property changes and program-set values and texts. After every step the
// caret and selection lie within the text, typing and pasting never grow the text beyond
// MaxLength, reading the value is repeatable, and a text the field formatted itself reads back
// as the number it shows.
//
// Input: a stream of steps, each an operation byte followed by the bytes it takes.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "FuzzCheck.h"
#include "widgets/ConvertError.h"
#include "widgets/KtNumEditModel.h"

namespace {

// Keys worth pressing: everything the filter knows, both locales' separators, a no-break space,
// and some it must refuse; Ctrl+C, Ctrl+V and Ctrl+X among them.
constexpr std::u16string_view kKeys = u"0123456789-Ee.,+ a\r\x1b\x03\x16\x18\u00a0\u00e9";

constexpr std::array<NumberSeparators, 4> kLocales = {
    NumberSeparators{u'.', u','}, NumberSeparators{u',', u'.'}, NumberSeparators{u',', 0},
    NumberSeparators{u',', u'\u00a0'}};

constexpr std::array<EditKey, 5> kEditKeys = {EditKey::Backspace, EditKey::Delete, EditKey::Enter,
                                              EditKey::Space, EditKey::Other};

// A formatted value is at most a sign, 15 digits, an exponent and thousands separators, or a
// whole number written out in full with separators: never near this.
constexpr size_t kFormattedLimit = 8000;

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool AtEnd() const { return next_ == size_; }
  uint8_t Byte() { return AtEnd() ? 0 : data_[next_++]; }
  char16_t Key() { return kKeys[Byte() % kKeys.size()]; }
  std::u16string Keys() {
    std::u16string keys;
    for (int count = Byte() % 24; count > 0; --count) keys += Key();
    return keys;
  }
  double Double() {
    uint8_t bytes[sizeof(double)];
    for (uint8_t& b : bytes) b = Byte();
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
  }
  // Small whole numbers, most often degrees.
  int Whole() { return static_cast<int8_t>(Byte()) * 4; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t next_ = 0;
};

struct Field {
  NumberSeparators separators = kLocales[0];
  std::u16string clipboard;
  KtNumEditModel model{[this] { return separators; }, hooks()};

  KtNumEditHooks hooks() {
    KtNumEditHooks h;
    h.Beep = [] {};
    h.Refocus = [] {};
    h.ReadClipboard = [this] { return clipboard; };
    h.WriteClipboard = [this](const std::u16string& text) { clipboard = text; };
    return h;
  }
};

enum class Step { Typing, Formatting, Other };

bool sameValue(long double a, long double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

std::optional<long double> valueOf(KtNumEditModel& model) {
  try {
    return model.Value();
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

void changeProperty(Field& field, FuzzInput& input) {
  KtNumEditModel& model = field.model;
  switch (input.Byte() % 8) {
    case 0:
      model.SetNumberFormat(static_cast<TNumberFormat>(input.Byte() % 4));
      break;
    case 1:
      model.SetDecimals(static_cast<int8_t>(input.Byte()));
      break;
    case 2:
      model.SetMaxLength(input.Byte() % 40 - 2);
      break;
    case 3:
      model.SetMaxValue(input.Whole());
      break;
    case 4:
      model.SetMinValue(input.Whole());
      break;
    case 5:
      field.separators = kLocales[input.Byte() % kLocales.size()];
      if (input.Byte() % 2 == 0) model.SeparatorsChanged();  // or not yet noticed
      break;
    case 6:
      model.SetReadOnly(input.Byte() % 4 == 0);
      break;
    default:
      model.SetAutoSelect(input.Byte() % 2 == 0);
      break;
  }
}

Step step(Field& field, FuzzInput& input) {
  KtNumEditModel& model = field.model;
  switch (input.Byte() % 12) {
    case 0: {
      const int start = input.Byte() % 40 - 4;
      model.SetSel(start, input.Byte() % 40 - 4);
      return Step::Other;
    }
    case 1:
      field.clipboard = input.Keys();
      model.PasteFromClipboard();
      return Step::Typing;
    case 2:
      model.CopyToClipboard();
      model.CutToClipboard();
      return Step::Other;
    case 3:
      model.Exit();
      return Step::Formatting;
    case 4:
      model.SetValue(input.Double());
      return Step::Formatting;
    case 5:
      model.SetValue(input.Whole() / 8.0L);
      return Step::Formatting;
    case 6:
      changeProperty(field, input);
      return Step::Other;
    case 7: {
      const EditKey key = kEditKeys[input.Byte() % kEditKeys.size()];
      model.KeyDown(key);
      model.KeyUp(key);
      return Step::Other;
    }
    case 8:
      model.Enter(input.Byte() % 2 == 0);
      model.MouseDown(input.Byte() % 2 == 0);
      return Step::Other;
    case 9:
      model.SetText(input.Keys());
      return Step::Other;
    case 10:
      model.ClearSelection();
      return Step::Other;
    default:
      model.KeyDown(EditKey::Other);
      model.KeyPress(input.Key());
      model.KeyUp(EditKey::Other);
      return Step::Typing;
  }
}

void checkSelection(const KtNumEditModel& model) {
  const int size = static_cast<int>(model.Text().size());
  Check(model.SelStart() >= 0 && model.SelLength() >= 0, "caret and selection are not negative");
  Check(model.SelStart() + model.SelLength() <= size, "the selection lies within the text");
}

// Typing stays within the limit; deleting everything shows the formatted zero, and Thousands
// fields regroup from the value after each key, which may write an exponent out in full.
void checkTypedLength(KtNumEditModel& model, size_t before) {
  if (model.NumberFormat() == TNumberFormat::Thousands) return;
  const size_t limit = model.MaxLength() > 0 ? static_cast<size_t>(model.MaxLength())
                                             : static_cast<size_t>(KtNumEditModel::kTextLimit);
  const size_t zero = model.FormatNumber(0).size();
  Check(model.Text().size() <= std::max({before, limit, zero}), "typing stays within MaxLength");
}

// Reading the value a second time changes nothing (the first may take over separators the
// locale changed meanwhile), and the whole-number reading agrees with it.
void checkValue(KtNumEditModel& model) {
  const std::optional<long double> value = valueOf(model);
  const std::u16string text = model.Text();
  const std::optional<long double> again = valueOf(model);
  Check(model.Text() == text, "reading the value again leaves the text alone");
  Check(value.has_value() == again.has_value(), "the text reads as a number both times or never");
  if (!value) return;
  Check(sameValue(*again, *value), "the value reads the same twice");
  if (!std::isfinite(*value) || std::fabs(*value) >= 0x1p62L) return;
  try {
    Check(model.IntValue() == static_cast<int64_t>(std::trunc(*value)),
          "IntValue is the value truncated");
  } catch (const EConvertError&) {
    Check(false, "a value within 64 bits has an IntValue");
  }
}

// A text the field formatted reads back as a number that formats to the same text.
void checkFormatted(KtNumEditModel& model) {
  Check(model.Text().size() < kFormattedLimit, "a formatted value stays short");
  const std::optional<long double> value = valueOf(model);
  if (!value) return;  // Exit keeps a text that is no number
  // Engineering truncates a negative exponent toward zero, so a tiny value may show as a zero
  // mantissa with its exponent ("0.00E-51"), which reads back as plain zero.
  if (model.NumberFormat() == TNumberFormat::Engineering && *value == 0) return;
  Check(model.FormatNumber(*value) == model.Text(), "a formatted value reads back as shown");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  Field field;
  while (!input.AtEnd()) {
    const size_t before = field.model.Text().size();
    Step done = Step::Other;
    try {
      done = step(field, input);
    } catch (const EConvertError&) {
      done = Step::Other;  // a digit typed into an exponent that is no number, or Exit
    }
    checkSelection(field.model);
    if (done == Step::Typing) checkTypedLength(field.model, before);
    if (done == Step::Formatting) checkFormatted(field.model);
    checkValue(field.model);
  }
  return 0;
}
