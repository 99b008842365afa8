#pragma once
// A KtNumEditModel with counted beeps and refocus requests, an in-memory
// clipboard and a locale whose separators a test can change.

#include <string>
#include <string_view>

#include "widgets/KtNumEditModel.h"

struct ModelField {
  NumberSeparators separators{u'.', u','};
  int beeps = 0;
  int refocuses = 0;
  int exits = 0;
  std::u16string clipboard;
  KtNumEditModel model{[this] { return separators; }, hooks()};

  ModelField() {
    model.SetOnExit([this] { ++exits; });
  }

  KtNumEditHooks hooks() {
    KtNumEditHooks h;
    h.Beep = [this] { ++beeps; };
    h.Refocus = [this] { ++refocuses; };
    h.ReadClipboard = [this] { return clipboard; };
    h.WriteClipboard = [this](const std::u16string& text) { clipboard = text; };
    return h;
  }

  // Shows text with the caret (and selection) where given.
  void show(std::u16string text, int caret, int selected = 0) {
    model.SetText(std::move(text));
    model.SetSel(caret, selected);
  }

  // Each character as one keystroke: down, press, up.
  void type(std::u16string_view keys) {
    for (const char16_t key : keys) {
      model.KeyDown(EditKey::Other);
      model.KeyPress(key);
      model.KeyUp(EditKey::Other);
    }
  }

  void press(EditKey key) {
    model.KeyDown(key);
    model.KeyUp(key);
  }
};
