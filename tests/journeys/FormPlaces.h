#pragma once
// Where the form puts each control the journeys use, and the role the accessibility bus gives
// it, so that a journey finds a control by its place in the window, whatever it reads.

#include <string>

struct FormPlace {
  std::string Role;
  int X = 0;  // the control's top-left corner in the window's client area
  int Y = 0;
};

// The place of the control with this form name ("Button1", "KtNumEdit3", "ComboBox2").
// Throws std::invalid_argument for a name the table does not hold.
FormPlace PlaceOf(const std::string& name);
