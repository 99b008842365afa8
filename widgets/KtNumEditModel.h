#pragma once
// The numeric edit control's rules without any GUI toolkit: its text, caret and
// selection, the keys it accepts, its formatting, its value and its range.
// TKtNumEdit feeds it the toolkit's events; tests drive it directly.
//
// Positions count UTF-16 units from 0, as the toolkit's line edit does.

#include <cstdint>
#include <functional>
#include <string>

#include "widgets/NumberFormat.h"
#include "widgets/NumberFormatting.h"
#include "widgets/NumberSeparators.h"

// The keys whose going down or up the control treats specially.
enum class EditKey { Backspace, Delete, Enter, Space, Other };

// The control's events (exit, invalid entry, clear). Not TNotifyEvent: the serial port
// component's event of that name carries its sender, and the window uses both.
using TNumEditEvent = std::function<void()>;

// What the model needs from its surroundings.
struct KtNumEditHooks {
  std::function<void()> Beep;     // a refused key
  std::function<void()> Refocus;  // take the focus back (only called when leaving was refused)
  std::function<std::u16string()> ReadClipboard;
  std::function<void(const std::u16string&)> WriteClipboard;
};

class KtNumEditModel {
 public:
  // The locale's separators, asked afresh whenever they matter.
  using SeparatorSource = std::function<NumberSeparators()>;

  // The most characters typing may give when MaxLength is 0.
  static constexpr int kTextLimit = 32767;
  // The largest decimal exponent of an 80-bit float; typed exponents stay within it.
  static constexpr int kMaxExponent = 4932;
  // The most decimal places Decimals can ask for.
  static constexpr int kMaxDecimals = 14;

  KtNumEditModel(SeparatorSource separators, KtNumEditHooks hooks);

  // --- Text, caret and selection ---
  const std::u16string& Text() const { return text_; }
  // Replaces the text as the program does; the caret goes to the start.
  void SetText(std::u16string text);
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  // Clamped to the text.
  void SetSel(int start, int length);
  std::u16string SelText() const { return text_.substr(selStart_, selLength_); }
  // Takes over the text and selection the control shows (the toolkit moves the
  // caret by itself, and the program may set the text directly).
  void SetState(std::u16string text, int selStart, int selLength);

  // --- Properties of the base edit ---
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  // 0: no limit besides kTextLimit. Only typing and pasting are limited.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int maxLength);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }

  // --- Properties of the numeric field ---
  // Negative values become -1, values above 14 become 14, and with a MaxLength
  // the value is at most MaxLength - 2; then the text is reformatted.
  int8_t Decimals() const { return decimals_; }
  void SetDecimals(int8_t decimals);
  // The range is active when either bound is nonzero. A MaxValue below MinValue
  // and a MinValue above MaxValue are ignored, so a range is set by raising
  // MaxValue first.
  long double MinValue() const { return minValue_; }
  void SetMinValue(long double value);
  long double MaxValue() const { return maxValue_; }
  void SetMaxValue(long double value);
  // Reformats the text.
  TNumberFormat NumberFormat() const { return numberFormat_; }
  void SetNumberFormat(TNumberFormat format);

  // The number in the text; raises EConvertError when the text is not one.
  // An empty text reads as 0, a "-" as -0.
  long double Value();
  // Shows x formatted; no range check.
  void SetValue(long double x);
  // Value truncated toward zero; raises EConvertError as Value does.
  int64_t IntValue();

  // --- Events ---
  // Leaving the field with a value inside the range.
  void SetOnExit(TNumEditEvent handler) { onExit_ = std::move(handler); }
  // Leaving with a value outside the range, instead of the built-in correction.
  void SetOnInvalidEntry(TNumEditEvent handler) { onInvalidEntry_ = std::move(handler); }
  // A clear request, instead of deleting the selection.
  void SetOnClear(TNumEditEvent handler) { onClear_ = std::move(handler); }

  // --- Formatting ---
  std::u16string FormatNumber(long double x) const;
  // The text without thousands separators; "" gives "0" and "-" gives "-0".
  std::u16string StripFormatting(std::u16string text);
  // Rewrites the separators remembered from the last translation as the
  // locale's current ones, and remembers those.
  std::u16string TranslateSeparators(std::u16string text);
  // The locale's separators changed: the text follows.
  void SeparatorsChanged();

  // --- Keys ---
  // Backspace and Delete delete here (and go no further).
  void KeyDown(EditKey key);
  // A typed character, through the key filter. Ctrl+C (3), Ctrl+V (22) and
  // Ctrl+X (24) copy, paste and cut. May raise EConvertError when a digit is
  // typed into an exponent that is not a number (between "E" and its "-").
  void KeyPress(char16_t key);
  // Regroups the digits of a Thousands field after a key.
  void KeyUp(EditKey key);
  // Deletes one character as Backspace or Delete does.
  void DeleteChar(EditKey key);
  void DeleteSelection();

  // --- Clipboard and clear requests ---
  void CopyToClipboard();
  void CutToClipboard();
  // Every character of the clipboard goes through the key filter.
  void PasteFromClipboard();
  void ClearSelection();

  // --- Focus and mouse ---
  // The field receives the focus.
  void Enter(bool leftButtonDown);
  // A mouse button goes down in the field.
  void MouseDown(bool leftButtonDown);
  // The focus leaves: reformat, then the range check. Raises EConvertError
  // (keeping the text) when the text is not a number.
  void Exit();
  // An out-of-range value on leaving: OnInvalidEntry, or the nearer bound with
  // a beep and the focus taken back.
  void InvalidEntry();

 private:
  enum class Typed { Taken, Refused, Full };

  NumberStyle style() const;
  void syncSeparators();
  void setCaret(int position);
  int limit() const;
  Typed insertChar(int position, char16_t c);
  Typed insertAtCaret(char16_t c);
  void replaceChar(int position, char16_t c);
  Typed pressKey(char16_t key);
  Typed toggleSign();
  Typed typeDecimalSeparator();
  Typed typeExponent();
  Typed typeDigit(char16_t digit);
  Typed typeExponentDigit(char16_t digit);
  Typed typeMantissaDigit(char16_t digit);
  int decimalPosition() const;
  int exponentPosition() const;
  bool rangeActive() const { return minValue_ != 0 || maxValue_ != 0; }

  SeparatorSource separators_;
  KtNumEditHooks hooks_;
  NumberSeparators remembered_;
  std::u16string text_ = u"0";
  int selStart_ = 0;
  int selLength_ = 0;
  bool readOnly_ = false;
  int maxLength_ = 0;
  bool autoSelect_ = true;
  bool clickSelectsAll_ = false;
  bool pasting_ = false;
  int8_t decimals_ = -1;
  long double minValue_ = 0;
  long double maxValue_ = 0;
  TNumberFormat numberFormat_ = TNumberFormat::Standard;
  TNumEditEvent onExit_;
  TNumEditEvent onInvalidEntry_;
  TNumEditEvent onClear_;
};
