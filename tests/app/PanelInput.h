#pragma once
// What the operator does to the window, as real Qt events.

#include <QComboBox>
#include <QWidget>

#include <string>

// Gives widget the keyboard focus and waits until it has it.
void FocusOn(QWidget* widget);

// Picks item index of box from its drop-down list, as a click on the item would.
void PickItem(QComboBox* box, int index);

// Replaces the text of box's edit field by typing text key by key (after selecting all).
void TypeInto(QComboBox* box, const QString& text);

// Selects everything in box's edit field and deletes it with one key press.
void ClearBox(QComboBox* box);
