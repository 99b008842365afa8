// The settings reader on whatever the start-up directory's QV_M.ini holds: it either stores all
// nine lines, or stops at a numeric line with EConvertError after storing the lines before it.
// What it stored is written back and must read back the same.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "FuzzStartupDir.h"
#include "app/SettingsFile.h"
#include "widgets/ConvertError.h"

namespace {

constexpr int kLineCount = 9;
constexpr int kLanguageLine = 2;

const FuzzStartupDir& startupDir() {
  static const FuzzStartupDir dir;
  return dir;
}

// Reads the file at path into settings; returns how many lines were stored, in order.
int readCounting(const std::string& path, TSettings& settings, bool& converted) {
  int stored = 0;
  converted = true;
  try {
    ReadSettingsFile(path, settings, [&stored](int line) {
      Check(line == stored + 1, "lines are stored in file order");
      stored = line;
    });
  } catch (const EConvertError&) {
    converted = false;
  }
  return stored;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = startupDir().Write(kSettingsFileName, data, size);
  TSettings settings;
  bool converted = false;
  const int stored = readCounting(path, settings, converted);
  if (!converted) {
    Check(stored + 1 != kLanguageLine, "the language line never fails to convert");
    return 0;
  }
  Check(stored == kLineCount, "a read without error stores all nine lines");

  const std::string text = SettingsFileText(settings);
  const std::string rewritten = startupDir().Write(
      kSettingsFileName, reinterpret_cast<const uint8_t*>(text.data()), text.size());
  TSettings reread;
  Check(readCounting(rewritten, reread, converted) == kLineCount && converted,
        "written settings read back without error");
  Check(reread == settings, "written settings read back unchanged");
  return 0;
}
