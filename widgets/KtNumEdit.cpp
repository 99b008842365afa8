#include "widgets/KtNumEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMetaObject>
#include <QMouseEvent>

#include "widgets/ErrorDisplay.h"

namespace {

constexpr int kInitialWidth = 100;

NumberSeparators separatorsOf(const QLocale& locale) {
  const QString decimal = locale.decimalPoint();
  const QString thousands = locale.groupSeparator();
  return NumberSeparators{decimal.isEmpty() ? u'.' : decimal.at(0).unicode(),
                          thousands.isEmpty() ? char16_t{0} : thousands.at(0).unicode()};
}

EditKey editKeyOf(int key) {
  switch (key) {
    case Qt::Key_Backspace:
      return EditKey::Backspace;
    case Qt::Key_Delete:
      return EditKey::Delete;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return EditKey::Enter;
    case Qt::Key_Space:
      return EditKey::Space;
    default:
      return EditKey::Other;
  }
}

// Keys that only move the caret or the selection: the line edit keeps them.
bool isNavigation(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

Qt::Alignment qtAlignment(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::LeftJustify:
      return Qt::AlignLeft | Qt::AlignVCenter;
    case TAlignment::Center:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case TAlignment::RightJustify:
      break;
  }
  return Qt::AlignRight | Qt::AlignVCenter;
}

bool isWindowOrPopupSwitch(const QFocusEvent* event) {
  return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

}  // namespace

TKtNumEdit::TKtNumEdit(QWidget* parent)
    : QLineEdit(parent),
      model_([this] { return separatorsOf(locale()); }, makeHooks()),
      beep_(QApplication::beep),
      enabledColor_(palette().color(QPalette::Active, QPalette::Base)),
      disabledColor_(palette().color(QPalette::Active, QPalette::Button)) {
  // Dropped text would bypass the key filter.
  setAcceptDrops(false);
  setInputMethodHints(Qt::ImhFormattedNumbersOnly);
  setAlignment(qtAlignment(alignment_));
  resize(kInitialWidth, sizeHint().height());
  setText(QString::fromStdU16String(model_.Text()));
  setCursorPosition(0);
  showColor();
}

KtNumEditHooks TKtNumEdit::makeHooks() {
  KtNumEditHooks hooks;
  hooks.Beep = [this] { beep_(); };
  hooks.Refocus = [this] { refocus(); };
  hooks.ReadClipboard = [] { return QGuiApplication::clipboard()->text().toStdU16String(); };
  hooks.WriteClipboard = [](const std::u16string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(text));
  };
  return hooks;
}

// The line edit moves the caret by itself (arrows, mouse) and the program may
// set its text directly; the model takes that over before every operation.
void TKtNumEdit::pullState() {
  model_.SetReadOnly(isReadOnly());
  const int start = hasSelectedText() ? selectionStart() : cursorPosition();
  model_.SetState(text().toStdU16String(), start, selectionLength());
}

void TKtNumEdit::pushState() {
  // Taken first: setText emits textChanged, whose handlers may use the field.
  const QString shown = QString::fromStdU16String(model_.Text());
  const int start = model_.SelStart();
  const int length = model_.SelLength();
  if (shown != text()) setText(shown);
  if (length > 0) {
    if (selectionStart() != start || selectionLength() != length) setSelection(start, length);
  } else if (hasSelectedText() || cursorPosition() != start) {
    setCursorPosition(start);
  }
}

template <typename Operation>
auto TKtNumEdit::synced(Operation operation) {
  pullState();
  struct PushWhenDone {
    TKtNumEdit* edit;
    ~PushWhenDone() { edit->pushState(); }
  } push{this};
  return operation();
}

void TKtNumEdit::handleEvent(const std::function<void()>& operation) {
  RunReportingErrors([&] { synced(operation); });
}

// Handlers may read or write the field: they see what the model has done so far.
TNumEditEvent TKtNumEdit::showingFirst(TNumEditEvent handler) {
  if (!handler) return nullptr;
  return [this, handler = std::move(handler)] {
    pushState();
    handler();
  };
}

void TKtNumEdit::SetOnExit(TNumEditEvent handler) {
  model_.SetOnExit(showingFirst(std::move(handler)));
}

void TKtNumEdit::SetOnInvalidEntry(TNumEditEvent handler) {
  model_.SetOnInvalidEntry(showingFirst(std::move(handler)));
}

void TKtNumEdit::SetOnClear(TNumEditEvent handler) {
  model_.SetOnClear(showingFirst(std::move(handler)));
}

void TKtNumEdit::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  setAlignment(qtAlignment(alignment));
}

void TKtNumEdit::SetDecimals(int8_t decimals) {
  synced([&] { model_.SetDecimals(decimals); });
}

void TKtNumEdit::SetNumberFormat(TNumberFormat format) {
  synced([&] { model_.SetNumberFormat(format); });
}

long double TKtNumEdit::Value() {
  return synced([&] { return model_.Value(); });
}

void TKtNumEdit::SetValue(long double x) {
  synced([&] { model_.SetValue(x); });
}

int64_t TKtNumEdit::IntValue() {
  return synced([&] { return model_.IntValue(); });
}

void TKtNumEdit::SetBeep(std::function<void()> beep) {
  beep_ = beep ? std::move(beep) : QApplication::beep;
}

QString TKtNumEdit::FormatNumber(long double x) const {
  return QString::fromStdU16String(model_.FormatNumber(x));
}

QString TKtNumEdit::StripFormatting(const QString& text) {
  return synced(
      [&] { return QString::fromStdU16String(model_.StripFormatting(text.toStdU16String())); });
}

QString TKtNumEdit::TranslateSeparators(const QString& text) {
  return synced(
      [&] { return QString::fromStdU16String(model_.TranslateSeparators(text.toStdU16String())); });
}

void TKtNumEdit::DeleteSelection() {
  synced([&] { model_.DeleteSelection(); });
}

void TKtNumEdit::CopyToClipboard() {
  synced([&] { model_.CopyToClipboard(); });
}

void TKtNumEdit::CutToClipboard() {
  synced([&] { model_.CutToClipboard(); });
}

void TKtNumEdit::PasteFromClipboard() {
  synced([&] { model_.PasteFromClipboard(); });
}

void TKtNumEdit::ClearSelection() {
  synced([&] { model_.ClearSelection(); });
}

void TKtNumEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  event->accept();
  handleEvent([&] { model_.KeyDown(editKeyOf(key)); });
  if (key == Qt::Key_Backspace || key == Qt::Key_Delete) return;
  if (event->matches(QKeySequence::Copy)) {
    handleEvent([&] { model_.CopyToClipboard(); });
  } else if (event->matches(QKeySequence::Cut)) {
    handleEvent([&] { model_.CutToClipboard(); });
  } else if (event->matches(QKeySequence::Paste)) {
    handleEvent([&] { model_.PasteFromClipboard(); });
  } else if (isNavigation(key)) {
    QLineEdit::keyPressEvent(event);
  } else if ((event->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) != 0 ||
             event->text().isEmpty()) {
    event->ignore();  // shortcuts and keys that type nothing belong to the window
  } else {
    for (const QChar c : event->text()) handleEvent([&] { model_.KeyPress(c.unicode()); });
  }
}

void TKtNumEdit::keyReleaseEvent(QKeyEvent* event) {
  handleEvent([&] { model_.KeyUp(editKeyOf(event->key())); });
  QLineEdit::keyReleaseEvent(event);
}

void TKtNumEdit::inputMethodEvent(QInputMethodEvent* event) {
  // Composed text is typed like keys; a composition in progress shows nothing.
  for (const QChar c : event->commitString()) handleEvent([&] { model_.KeyPress(c.unicode()); });
  event->accept();
}

void TKtNumEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (isWindowOrPopupSwitch(event)) return;
  const bool leftButtonDown = (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
  handleEvent([&] { model_.Enter(leftButtonDown); });
}

// Leaving for another window or a popup menu is no exit from the field.
void TKtNumEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (isWindowOrPopupSwitch(event)) return;
  handleEvent([&] { model_.Exit(); });
}

// Queued, so the focus change under way completes before the focus comes back.
void TKtNumEdit::refocus() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (isVisible() && isEnabled() && focusPolicy() != Qt::NoFocus) {
          setFocus(Qt::OtherFocusReason);
        }
      },
      Qt::QueuedConnection);
}

void TKtNumEdit::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  const bool leftButtonDown = (event->buttons() & Qt::LeftButton) != 0;
  handleEvent([&] { model_.MouseDown(leftButtonDown); });
}

void TKtNumEdit::mouseReleaseEvent(QMouseEvent* event) {
  // The middle button would paste the X11 selection past the key filter.
  if (event->button() == Qt::MiddleButton) {
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void TKtNumEdit::contextMenuEvent(QContextMenuEvent* event) {
  const bool selected = hasSelectedText();
  const bool writable = !isReadOnly();
  QMenu menu(this);
  menu.addAction(tr("Cu&t"), this, &TKtNumEdit::CutToClipboard)->setEnabled(selected && writable);
  menu.addAction(tr("&Copy"), this, &TKtNumEdit::CopyToClipboard)->setEnabled(selected);
  menu.addAction(tr("&Paste"), this, &TKtNumEdit::PasteFromClipboard)
      ->setEnabled(writable && !QGuiApplication::clipboard()->text().isEmpty());
  menu.addAction(tr("Delete"), this, &TKtNumEdit::ClearSelection)->setEnabled(selected && writable);
  menu.addSeparator();
  menu.addAction(tr("Select All"), this, &QLineEdit::selectAll)->setEnabled(!text().isEmpty());
  menu.exec(event->globalPos());
}

void TKtNumEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  switch (event->type()) {
    case QEvent::EnabledChange:
      showColor();
      break;
    case QEvent::LocaleChange:
      // Queued, so the translation runs after every locale setting has changed.
      QMetaObject::invokeMethod(
          this, [this] { handleEvent([&] { model_.SeparatorsChanged(); }); }, Qt::QueuedConnection);
      break;
    case QEvent::PaletteChange:
    case QEvent::ParentChange:
      if (!applyingPalette_ && parentColor_ && parentWidget() != nullptr) {
        enabledColor_ = parentBackground();
        showColor();
      }
      break;
    default:
      break;
  }
}

void TKtNumEdit::SetColor(const QColor& color) {
  if (color == enabledColor_) return;
  enabledColor_ = color;
  showColor();
  if (parentWidget() != nullptr && parentBackground() != color) parentColor_ = false;
}

void TKtNumEdit::SetDisabledColor(const QColor& color) {
  if (color == disabledColor_) return;
  disabledColor_ = color;
  showColor();
}

void TKtNumEdit::SetParentColor(bool parentColor) {
  if (parentColor == parentColor_) return;
  parentColor_ = parentColor;
  if (parentColor && parentWidget() != nullptr) enabledColor_ = parentBackground();
  showColor();
}

QColor TKtNumEdit::parentBackground() const {
  const QWidget* parent = parentWidget();
  return parent->palette().color(parent->backgroundRole());
}

void TKtNumEdit::showColor() {
  QPalette shown = palette();
  const QColor color = isEnabled() ? enabledColor_ : disabledColor_;
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    shown.setColor(group, QPalette::Base, color);
  }
  applyingPalette_ = true;
  setPalette(shown);
  applyingPalette_ = false;
}
