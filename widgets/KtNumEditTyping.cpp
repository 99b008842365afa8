// The keyboard half of KtNumEditModel: the key filter, the sign, separator and
// exponent rules, deleting, and regrouping Thousands fields.

#include <cstdlib>
#include <vector>

#include "widgets/ConvertError.h"
#include "widgets/KtNumEditModel.h"
#include "widgets/NumberConversion.h"

namespace {

// The characters the edit keys Ctrl+C, Ctrl+V and Ctrl+X type.
constexpr char16_t kCopyChar = 3;
constexpr char16_t kPasteChar = 22;
constexpr char16_t kCutChar = 24;

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::vector<size_t> separatorPlaces(const std::u16string& text, char16_t thousands) {
  std::vector<size_t> places;
  if (thousands == 0) return places;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == thousands) places.push_back(i);
  }
  return places;
}

int charsBefore(const std::u16string& text, int position, char16_t thousands) {
  int count = 0;
  for (int i = 0; i < position; ++i) {
    if (thousands == 0 || text[i] != thousands) ++count;
  }
  return count;
}

// Just after the first `count` characters that are not thousands separators,
// and past a separator that follows them.
int positionAfter(const std::u16string& text, int count, char16_t thousands) {
  const int size = static_cast<int>(text.size());
  int position = 0;
  for (int seen = 0; position < size && seen < count; ++position) {
    if (thousands == 0 || text[position] != thousands) ++seen;
  }
  if (position < size && thousands != 0 && text[position] == thousands) ++position;
  return position;
}

}  // namespace

void KtNumEditModel::setCaret(int position) { SetSel(position, 0); }

int KtNumEditModel::limit() const {
  return maxLength_ > 0 ? std::min(maxLength_, kTextLimit) : kTextLimit;
}

KtNumEditModel::Typed KtNumEditModel::insertChar(int position, char16_t c) {
  if (static_cast<int>(text_.size()) >= limit()) {
    hooks_.Beep();
    return Typed::Full;
  }
  text_.insert(text_.begin() + position, c);
  return Typed::Taken;
}

KtNumEditModel::Typed KtNumEditModel::insertAtCaret(char16_t c) {
  const int position = selStart_;
  const Typed typed = insertChar(position, c);
  if (typed == Typed::Taken) setCaret(position + 1);
  return typed;
}

void KtNumEditModel::replaceChar(int position, char16_t c) {
  text_[position] = c;
  setCaret(position + 1);
}

int KtNumEditModel::decimalPosition() const {
  const size_t at = text_.find(remembered_.Decimal);
  return at == std::u16string::npos ? 0 : static_cast<int>(at) + 1;
}

int KtNumEditModel::exponentPosition() const {
  const size_t at = text_.find(u'E');
  return at == std::u16string::npos ? 0 : static_cast<int>(at) + 1;
}

void KtNumEditModel::KeyDown(EditKey key) {
  clickSelectsAll_ = false;
  if (readOnly_ || (key != EditKey::Backspace && key != EditKey::Delete)) return;
  if (selLength_ == 0) {
    DeleteChar(key);
  } else {
    DeleteSelection();
  }
}

void KtNumEditModel::KeyPress(char16_t key) { pressKey(key); }

KtNumEditModel::Typed KtNumEditModel::pressKey(char16_t key) {
  if (readOnly_) {
    if (key == kCopyChar) CopyToClipboard();
    return Typed::Refused;
  }
  // While pasting, these are pasted characters like any other and refused
  // below: a clipboard holding a Ctrl+V must not paste itself without end.
  if (!pasting_ && (key == kCopyChar || key == kPasteChar || key == kCutChar)) {
    if (key == kCopyChar) CopyToClipboard();
    if (key == kPasteChar) PasteFromClipboard();
    if (key == kCutChar) CutToClipboard();
    return Typed::Taken;
  }
  syncSeparators();
  const bool separator = key == remembered_.Decimal && decimals_ != 0;
  if (!separator && key != u'-' && !isDigit(key) && key != u'E' && key != u'e') {
    hooks_.Beep();
    return Typed::Refused;
  }
  if (key == u'e') key = u'E';
  if (key == u'E' || separator) {
    selLength_ = 0;
  } else {
    DeleteSelection();
  }
  // Nothing is typed in front of the sign, nor between an exponent's "-" and
  // its first digit.
  const int e = exponentPosition();
  if (!text_.empty() && text_[0] == u'-' && selStart_ == 0) setCaret(1);
  if (e > 0 && text_.find(u'-', e) != std::u16string::npos && selStart_ == e + 1) setCaret(e + 2);
  if (key == u'-') return toggleSign();
  if (separator) return typeDecimalSeparator();
  if (key == u'E') return typeExponent();
  return typeDigit(key);
}

KtNumEditModel::Typed KtNumEditModel::toggleSign() {
  const int caret = selStart_;
  const int e = exponentPosition();
  const int size = static_cast<int>(text_.size());
  // e is also the index just after the "E".
  const int signAt = e > 0 && caret >= e ? e : 0;
  if (signAt < size && text_[signAt] == u'-') {
    text_.erase(signAt, 1);
    setCaret(caret - 1);
    return Typed::Taken;
  }
  const Typed typed = insertChar(signAt, u'-');
  if (typed == Typed::Taken) setCaret(caret + 1);
  return typed;
}

KtNumEditModel::Typed KtNumEditModel::typeDecimalSeparator() {
  const int d = decimalPosition();
  if (d > 0) {
    setCaret(d);
    return Typed::Taken;
  }
  if (decimals_ < 0) {
    const int e = exponentPosition();
    setCaret(e > 0 ? e - 1 : static_cast<int>(text_.size()));
  }
  return insertAtCaret(remembered_.Decimal);
}

KtNumEditModel::Typed KtNumEditModel::typeExponent() {
  const int e = exponentPosition();
  if (e > 0) {
    setCaret(e);
    return Typed::Taken;
  }
  setCaret(static_cast<int>(text_.size()));
  return insertAtCaret(u'E');
}

KtNumEditModel::Typed KtNumEditModel::typeDigit(char16_t digit) {
  const int caret = selStart_;
  const int size = static_cast<int>(text_.size());
  const int e = exponentPosition();
  // A lone leading zero (of the number or of the exponent) is replaced.
  if (caret <= 2 && size > 1 && text_[0] == u'-' && text_[1] == u'0') {
    replaceChar(1, digit);
  } else if (caret <= 1 && size > 0 && text_[0] == u'0') {
    replaceChar(0, digit);
  } else if (e > 0 && caret == e && e < size && text_[e] == u'0') {
    replaceChar(e, digit);
  } else if (e > 0 && caret >= e) {
    return typeExponentDigit(digit);
  } else {
    return typeMantissaDigit(digit);
  }
  return Typed::Taken;
}

KtNumEditModel::Typed KtNumEditModel::typeExponentDigit(char16_t digit) {
  const int e = exponentPosition();
  const int caret = selStart_;
  const std::u16string exponent = text_.substr(e, caret - e) + digit + text_.substr(caret);
  if (std::llabs(StrToInt(exponent)) > kMaxExponent) {
    hooks_.Beep();
    return Typed::Refused;
  }
  return insertAtCaret(digit);
}

KtNumEditModel::Typed KtNumEditModel::typeMantissaDigit(char16_t digit) {
  if (decimals_ < 1) return insertAtCaret(digit);
  const int caret = selStart_;
  const int d = decimalPosition();
  if (d == 0 || caret < d) return insertAtCaret(digit);
  if (caret == d + decimals_) {
    hooks_.Beep();  // every decimal place is filled
    return Typed::Refused;
  }
  // With fixed decimals a typed decimal overwrites the next one.
  if (caret < static_cast<int>(text_.size()) && isDigit(text_[caret])) {
    replaceChar(caret, digit);
    return Typed::Taken;
  }
  return insertAtCaret(digit);
}

void KtNumEditModel::DeleteChar(EditKey key) {
  syncSeparators();
  const int size = static_cast<int>(text_.size());
  const int caret = selStart_;
  const auto skipped = [this](char16_t c) {
    return c == u'E' || c == remembered_.Decimal ||
           (remembered_.Thousands != 0 && c == remembered_.Thousands);
  };
  int k = 0;  // the character to delete, counted from 1
  if (key == EditKey::Delete) {
    if (caret >= size) return;
    k = caret + 1 + (skipped(text_[caret]) ? 1 : 0);
  } else if (key == EditKey::Backspace) {
    if (caret == 0) return;
    k = caret - (skipped(text_[caret - 1]) ? 1 : 0);
  }
  if (k == 0 || k > size) return;
  const int d = decimalPosition();
  const int e = exponentPosition() > 0 ? exponentPosition() : size + 1;
  if (d > 0 && d < k && k < e) {
    text_.erase(k - 1, 1);
    // Fixed decimals stay fixed: a zero closes the gap before the exponent.
    if (decimals_ > 0) text_.insert(text_.begin() + (e - 2), u'0');
    setCaret(k - 1);
  } else if (k == 1 && text_.find(u'-') != std::u16string::npos) {
    text_.erase(0, 1);
    if (text_.empty()) text_ = u"0";
    setCaret(0);
  } else if (k == 1 && (size == 1 || text_[1] == remembered_.Decimal || text_[1] == u'E')) {
    replaceChar(0, u'0');
  } else {
    text_.erase(k - 1, 1);
    setCaret(k - 1);
    const bool exponential =
        numberFormat_ == TNumberFormat::Scientific || numberFormat_ == TNumberFormat::Engineering;
    if (exponential && !text_.empty() && text_.back() == u'E') text_ += u'0';
  }
}

void KtNumEditModel::DeleteSelection() {
  if (selLength_ == 0) return;
  syncSeparators();
  if (selStart_ == 0 && selLength_ >= static_cast<int>(text_.size())) {
    SetText(FormatNumber(0));
    return;
  }
  const std::u16string selected = SelText();
  int count = static_cast<int>(StripFormatting(selected).size());
  if (selected.find(remembered_.Decimal) != std::u16string::npos) --count;
  setCaret(selStart_ + selLength_);
  for (int i = 0; i < count; ++i) DeleteChar(EditKey::Backspace);
}

void KtNumEditModel::KeyUp(EditKey key) {
  if (numberFormat_ != TNumberFormat::Thousands || selLength_ != 0) return;
  std::u16string formatted;
  try {
    formatted = FormatNumber(Value());
  } catch (const EConvertError&) {
    return;  // a number still being typed ("1E") has nothing to regroup yet
  }
  const char16_t thousands = remembered_.Thousands;
  const bool forced = key == EditKey::Enter || key == EditKey::Space;
  if (!forced && separatorPlaces(text_, thousands) == separatorPlaces(formatted, thousands)) return;
  const int kept = charsBefore(text_, selStart_, thousands);
  text_ = std::move(formatted);
  setCaret(positionAfter(text_, kept, thousands));
}
