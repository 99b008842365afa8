#pragma once
// Selecting items of the window's editable drop-down boxes the way the window expects.

#include <QComboBox>

// Selects item index and shows its text, without raising the box's change handler. The text
// is set even when Qt still counts the item as current after the operator typed over it. An
// index outside the list clears the selection (and the edit field, unless nothing was
// selected before).
void SelectItemSilently(QComboBox* box, int index);

// After the operator typed into box: the item whose text equals the typed text becomes the
// selection, none when no item does. The typed text and the cursor stay as they are.
void FollowTypedText(QComboBox* box);
