#pragma once
// TKtNumEdit: a single-line edit holding one number. It lets through only the
// keys that keep a well-formed number, formats the number whenever its value
// is set and when the focus leaves, and checks an optional range on leaving.
// The rules live in KtNumEditModel; this class feeds it Qt's events.
//
// From the base line edit, Qt's own members serve as they are: isReadOnly() /
// setReadOnly(), setEnabled(), fonts, tool tips, and the signals textChanged
// (the change event) and the usual key, mouse and focus events. Typing goes
// through the key filter, so textEdited and returnPressed are not emitted.
// QLineEdit::setMaxLength is not used: MaxLength() below is the limit.
//
// Errors inside event handlers (a text that is not a number when the focus
// leaves, an exception from an OnExit handler) end the handler and go to
// ShowError of widgets/ErrorDisplay.h; the text stays as typed. Calls made by
// the program itself (Value(), IntValue(), SetDecimals(), ...) raise to it.

#include <QColor>
#include <QLineEdit>

#include <cstdint>
#include <functional>

#include "widgets/KtNumEditModel.h"
#include "widgets/NumberFormat.h"

enum class TAlignment { LeftJustify, RightJustify, Center };

class TKtNumEdit : public QLineEdit {
  Q_OBJECT

 public:
  // Right-aligned, Decimals -1, Standard, no range, showing "0", 100 wide.
  explicit TKtNumEdit(QWidget* parent = nullptr);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // -1: as many decimals as the value needs (up to 14); 0: none, and the
  // decimal separator cannot be typed; 1 to 14: exactly that many.
  // Reformats the text (raises EConvertError when it is not a number).
  int8_t Decimals() const { return model_.Decimals(); }
  void SetDecimals(int8_t decimals);

  // Active when either is nonzero; set MaxValue first (a MaxValue below
  // MinValue and a MinValue above MaxValue are ignored).
  long double MinValue() const { return model_.MinValue(); }
  void SetMinValue(long double value) { model_.SetMinValue(value); }
  long double MaxValue() const { return model_.MaxValue(); }
  void SetMaxValue(long double value) { model_.SetMaxValue(value); }

  // Reformats the text (raises EConvertError when it is not a number).
  TNumberFormat NumberFormat() const { return model_.NumberFormat(); }
  void SetNumberFormat(TNumberFormat format);

  // The number shown; raises EConvertError when the text is not one ("1E").
  // An empty text reads as 0, "-" as -0.
  long double Value();
  // Shows x formatted (a whole number without decimal separator in the
  // default format). Not checked against the range.
  void SetValue(long double x);
  // Value truncated toward zero: 12.9 gives 12, -12.9 gives -12.
  int64_t IntValue();

  // Background while enabled and while disabled. Setting Color to anything
  // but the parent's background clears ParentColor.
  QColor Color() const { return enabledColor_; }
  void SetColor(const QColor& color);
  QColor DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(const QColor& color);
  // Take Color from the parent's background, and follow it.
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool parentColor);

  static QString Version() { return QStringLiteral("8.50.00.00"); }

  // Select all text when the field receives the focus (and on the click that
  // gave it). Initially true.
  bool AutoSelect() const { return model_.AutoSelect(); }
  void SetAutoSelect(bool autoSelect) { model_.SetAutoSelect(autoSelect); }
  // The most characters typing and pasting may give; 0 (initially): no limit
  // of the field's own. Texts the program sets are not cut.
  int MaxLength() const { return model_.MaxLength(); }
  void SetMaxLength(int maxLength) { model_.SetMaxLength(maxLength); }

  // Raised when the focus moves to another control of the window with a value
  // inside the range. Outside it the value becomes the nearer bound, with a
  // beep, the focus comes back and OnExit is not raised.
  void SetOnExit(TNumEditEvent handler);
  // Replaces that correction.
  void SetOnInvalidEntry(TNumEditEvent handler);
  // Replaces deleting the selection on a clear request (context menu Delete).
  void SetOnClear(TNumEditEvent handler);

  // The refusal sound; empty restores the default, QApplication::beep().
  void SetBeep(std::function<void()> beep);

  QString FormatNumber(long double x) const;
  QString StripFormatting(const QString& text);
  QString TranslateSeparators(const QString& text);
  void DeleteSelection();
  // The selection without thousands separators goes to the clipboard.
  void CopyToClipboard();
  void CutToClipboard();
  // Each character of the clipboard text goes through the key filter.
  void PasteFromClipboard();
  // OnClear, or deleting the selection.
  void ClearSelection();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  KtNumEditHooks makeHooks();
  void pullState();
  void pushState();
  template <typename Operation>
  auto synced(Operation operation);
  void handleEvent(const std::function<void()>& operation);
  TNumEditEvent showingFirst(TNumEditEvent handler);
  void refocus();
  void showColor();
  QColor parentBackground() const;

  KtNumEditModel model_;
  std::function<void()> beep_;
  TAlignment alignment_ = TAlignment::RightJustify;
  QColor enabledColor_;
  QColor disabledColor_;
  bool parentColor_ = false;
  bool applyingPalette_ = false;
};
