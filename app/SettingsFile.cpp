#include "app/SettingsFile.h"

#include <cstdint>
#include <vector>

#include "app/CodePageText.h"
#include "app/FileReplacement.h"
#include "app/FileSystem.h"
#include "app/TextFileReader.h"
#include "widgets/NumberConversion.h"

namespace {

constexpr int kLineCount = 9;

int32_t* numberField(TSettings& settings, int line) {
  switch (line) {
    case 1:
      return &settings.ComNumber;
    case 3:
      return &settings.PollRate;
    case 4:
      return &settings.Reserved;
    case LinePark1:
      return &settings.Park1;
    case LinePark2:
      return &settings.Park2;
    case LineAxisConfig:
      return &settings.AxisConfig;
    case LineWindowLeft:
      return &settings.WindowLeft;
    case LineWindowTop:
      return &settings.WindowTop;
    default:
      return nullptr;
  }
}

void storeLine(TSettings& settings, int line, const std::string& text) {
  if (int32_t* field = numberField(settings, line)) {
    *field = StrToInt(text);
  } else {
    settings.Language = EncodeUtf8(DecodeFileText(text));
  }
}

}  // namespace

void ReadSettingsFile(const std::string& path, TSettings& settings,
                      const SettingsLineStored& stored) {
  if (!FileExists(path)) WriteSettingsFile(path, TSettings{});
  TextFileReader reader(path);
  for (int line = 1; line <= kLineCount; ++line) {
    storeLine(settings, line, reader.ReadLine());
    stored(line);
  }
}

std::string SettingsFileText(const TSettings& settings) {
  const std::vector<std::string> lines = {
      std::to_string(settings.ComNumber),  settings.Language,
      std::to_string(settings.PollRate),   std::to_string(settings.Reserved),
      std::to_string(settings.Park1),      std::to_string(settings.Park2),
      std::to_string(settings.AxisConfig), std::to_string(settings.WindowLeft),
      std::to_string(settings.WindowTop)};
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

void WriteSettingsFile(const std::string& path, const TSettings& settings) {
  ReplaceFileContent(path, SettingsFileText(settings));
}
