#include "tests/journeys/FormPlaces.h"

#include <map>
#include <stdexcept>

namespace {

struct Offset {
  int X, Y;
};

constexpr Offset kWindow{0, 0};
// The group boxes' corners, which the places of their controls are counted from.
constexpr Offset kConfiguration{0, 0};
constexpr Offset kManual1{42, 300};
constexpr Offset kManualBoth{162, 300};
constexpr Offset kManual2{247, 300};

struct Entry {
  const char* Role;
  Offset Parent;
  int X, Y;
};

const std::map<std::string, Entry>& places() {
  static const std::map<std::string, Entry> table = {
      {"Image2", {"filler", kWindow, 205, 96}},
      {"Label7", {"label", kWindow, 205, 96}},
      {"Image1", {"filler", kWindow, 0, 96}},
      {"Label6", {"label", kWindow, 0, 96}},
      {"GroupBox2", {"panel", kWindow, 0, 0}},
      {"GroupBox3", {"panel", kWindow, kManual1.X, kManual1.Y}},
      {"GroupBox4", {"panel", kWindow, kManualBoth.X, kManualBoth.Y}},
      {"GroupBox5", {"panel", kWindow, kManual2.X, kManual2.Y}},
      {"Label2", {"label", kConfiguration, 5, 20}},
      {"ComboBox2", {"combo box", kConfiguration, 55, 15}},
      {"Button1", {"push button", kConfiguration, 121, 14}},
      {"ComboBox1", {"combo box", kConfiguration, 55, 40}},
      {"ComboBox3", {"combo box", kConfiguration, 145, 40}},
      {"ComboBox4", {"combo box", kConfiguration, 55, 65}},
      {"Button9", {"push button", kManual1, 5, 15}},
      {"Button5", {"push button", kManual1, 35, 15}},
      {"Button11", {"push button", kManual1, 85, 15}},
      {"KtNumEdit1", {"text", kManual1, 5, 48}},
      {"Button2", {"push button", kManual1, 35, 45}},
      {"KtNumEdit3", {"text", kManual1, 5, 77}},
      {"Button8", {"push button", kManual1, 35, 75}},
      {"Button12", {"push button", kManual2, 5, 15}},
      {"Button7", {"push button", kManual2, 35, 15}},
      {"Button13", {"push button", kManual2, 85, 15}},
      {"Button3", {"push button", kManual2, 35, 45}},
      {"KtNumEdit2", {"text", kManual2, 85, 48}},
      {"KtNumEdit4", {"text", kManual2, 85, 77}},
      {"Button14", {"push button", kManual2, 35, 75}},
      {"Button6", {"push button", kManualBoth, 5, 15}},
      {"Button4", {"push button", kManualBoth, 5, 45}},
      {"Button10", {"push button", kManualBoth, 6, 75}},
  };
  return table;
}

}  // namespace

FormPlace PlaceOf(const std::string& name) {
  const auto found = places().find(name);
  if (found == places().end()) throw std::invalid_argument("no place for control " + name);
  const Entry& entry = found->second;
  return {entry.Role, entry.Parent.X + entry.X, entry.Parent.Y + entry.Y};
}
