#include "widgets/KtNumEditModel.h"

#include <algorithm>
#include <cmath>

#include "widgets/NumberConversion.h"

namespace {

// Every remembered separator becomes the current one, both at once (a swap of
// "." and "," must not turn into all "."). A locale without a thousands
// separator drops the old one.
std::u16string translate(std::u16string text, const NumberSeparators& from,
                         const NumberSeparators& to) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c == from.Decimal) {
      out += to.Decimal;
    } else if (from.Thousands != 0 && c == from.Thousands) {
      if (to.Thousands != 0) out += to.Thousands;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

KtNumEditModel::KtNumEditModel(SeparatorSource separators, KtNumEditHooks hooks)
    : separators_(std::move(separators)), hooks_(std::move(hooks)), remembered_(separators_()) {}

void KtNumEditModel::SetText(std::u16string text) {
  text_ = std::move(text);
  selStart_ = 0;
  selLength_ = 0;
}

void KtNumEditModel::SetSel(int start, int length) {
  const int size = static_cast<int>(text_.size());
  selStart_ = std::clamp(start, 0, size);
  selLength_ = std::clamp(length, 0, size - selStart_);
}

void KtNumEditModel::SetState(std::u16string text, int selStart, int selLength) {
  text_ = std::move(text);
  SetSel(selStart, selLength);
}

void KtNumEditModel::SetMaxLength(int maxLength) { maxLength_ = std::max(maxLength, 0); }

void KtNumEditModel::SetDecimals(int8_t decimals) {
  int value = decimals < 0 ? -1 : std::min<int>(decimals, kMaxDecimals);
  // Room for the integer digit and the separator.
  if (maxLength_ > 0 && maxLength_ - 2 < value) value = maxLength_ - 2;
  decimals_ = static_cast<int8_t>(value);
  SetValue(Value());
}

void KtNumEditModel::SetMinValue(long double value) {
  if (std::isnan(value) || value == minValue_ || value > maxValue_) return;
  minValue_ = value;
}

void KtNumEditModel::SetMaxValue(long double value) {
  if (std::isnan(value) || value == maxValue_ || value < minValue_) return;
  maxValue_ = value;
}

void KtNumEditModel::SetNumberFormat(TNumberFormat format) {
  numberFormat_ = format;
  SetValue(Value());
}

long double KtNumEditModel::Value() {
  const std::u16string cleaned = StripFormatting(text_);
  return StrToFloat(cleaned, remembered_.Decimal);
}

void KtNumEditModel::SetValue(long double x) {
  syncSeparators();
  std::u16string formatted = FormatNumber(x);
  if (formatted != text_) SetText(std::move(formatted));
}

int64_t KtNumEditModel::IntValue() {
  const std::u16string cleaned = StripFormatting(text_);
  return TruncToInt64(StrToFloat(cleaned, remembered_.Decimal), cleaned);
}

NumberStyle KtNumEditModel::style() const {
  return NumberStyle{numberFormat_, decimals_, separators_()};
}

std::u16string KtNumEditModel::FormatNumber(long double x) const {
  return ::FormatNumber(x, style());
}

std::u16string KtNumEditModel::StripFormatting(std::u16string text) {
  const NumberSeparators before = remembered_;
  syncSeparators();
  if (!(before == remembered_)) text = translate(std::move(text), before, remembered_);
  if (remembered_.Thousands != 0) std::erase(text, remembered_.Thousands);
  if (text.empty()) return u"0";
  if (text == u"-") return u"-0";
  return text;
}

std::u16string KtNumEditModel::TranslateSeparators(std::u16string text) {
  const NumberSeparators current = separators_();
  text = translate(std::move(text), remembered_, current);
  remembered_ = current;
  return text;
}

void KtNumEditModel::SeparatorsChanged() { syncSeparators(); }

// The field's own text always follows the locale before anything reads or
// edits it, so text and remembered separators never disagree.
void KtNumEditModel::syncSeparators() {
  if (remembered_ == separators_()) return;
  const int start = selStart_;
  const int length = selLength_;
  const size_t size = text_.size();
  text_ = TranslateSeparators(text_);
  if (text_.size() == size) {
    SetSel(start, length);
  } else {
    SetSel(static_cast<int>(text_.size()), 0);
  }
}

void KtNumEditModel::CopyToClipboard() {
  // Nothing selected leaves the clipboard as it was.
  if (selLength_ == 0) return;
  hooks_.WriteClipboard(StripFormatting(SelText()));
}

void KtNumEditModel::CutToClipboard() {
  if (selLength_ == 0) return;
  CopyToClipboard();
  if (!readOnly_) DeleteSelection();
}

void KtNumEditModel::PasteFromClipboard() {
  // A pasted Ctrl+V must not paste again (see pressKey).
  if (readOnly_ || pasting_) return;
  const std::u16string clipboard = hooks_.ReadClipboard();
  pasting_ = true;
  try {
    DeleteSelection();
    for (const char16_t c : clipboard) {
      // Once the field is full, the rest of a long paste cannot fit either.
      if (pressKey(c) == Typed::Full) break;
    }
  } catch (...) {
    pasting_ = false;
    throw;
  }
  pasting_ = false;
}

void KtNumEditModel::ClearSelection() {
  if (onClear_) {
    onClear_();
  } else if (!readOnly_) {
    DeleteSelection();
  }
}

void KtNumEditModel::Enter(bool leftButtonDown) {
  clickSelectsAll_ = leftButtonDown;
  if (autoSelect_) SetSel(0, static_cast<int>(text_.size()));
}

void KtNumEditModel::MouseDown(bool leftButtonDown) {
  // The click that brought the focus has placed the caret; select all again.
  if (!clickSelectsAll_ || !leftButtonDown) return;
  clickSelectsAll_ = false;
  if (autoSelect_) SetSel(0, static_cast<int>(text_.size()));
}

void KtNumEditModel::Exit() {
  SetValue(Value());
  const long double value = Value();
  if (rangeActive() && (value < minValue_ || value > maxValue_)) {
    InvalidEntry();
    return;
  }
  if (onExit_) onExit_();
}

void KtNumEditModel::InvalidEntry() {
  if (onInvalidEntry_) {
    onInvalidEntry_();
    return;
  }
  const long double value = Value();
  if (value < minValue_) {
    SetValue(minValue_);
  } else if (value > maxValue_) {
    SetValue(maxValue_);
  }
  hooks_.Beep();
  hooks_.Refocus();
}
