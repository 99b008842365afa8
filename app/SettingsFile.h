#pragma once
// The settings file: nine lines in a fixed order, each ended by CR LF, no keys:
//   1 ComNumber, 2 Language, 3 PollRate, 4 Reserved, 5 Park1, 6 Park2, 7 AxisConfig,
//   8 WindowLeft, 9 WindowTop
// Line 2 is the text itself, every other line a decimal integer. Lines after the ninth are
// ignored.

#include <functional>
#include <string>

#include "app/Settings.h"

inline constexpr const char* kSettingsFileName = "QV_M.ini";

// Line numbers of the values the window applies as soon as they are read.
enum SettingsLine : int {
  LinePark1 = 5,
  LinePark2 = 6,
  LineAxisConfig = 7,
  LineWindowLeft = 8,
  LineWindowTop = 9,
};

// Told the number (1 to 9) of each line right after its value was stored.
using SettingsLineStored = std::function<void(int line)>;

// Reads the file at path into settings, line by line in file order, calling stored after each.
// A missing file is first created with the default values, which are then read the same way.
// A numeric line that is no integer, empty and missing lines included, raises EConvertError
// at that line: the lines before it stay stored. Raises EInOutError when the file cannot be
// created or read.
void ReadSettingsFile(const std::string& path, TSettings& settings,
                      const SettingsLineStored& stored);

// The file's content for settings: nine lines, each ended by CR LF.
std::string SettingsFileText(const TSettings& settings);

// Replaces the file at path with the content for settings, never leaving a torn file.
// Raises EInOutError when it cannot be written.
void WriteSettingsFile(const std::string& path, const TSettings& settings);
