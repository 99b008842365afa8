// The language reader on whatever the start-up directory's QV_M_language.csv holds, for a few
// language codes. Reading the file must give what the line reader gives for the same lines split
// in memory (LF ends a line, one CR before it is dropped), stop at the same line on a conversion
// error, and leave only valid UTF-8 texts of at most 100 characters.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzStartupDir.h"
#include "app/CodePageText.h"
#include "app/LanguageFile.h"
#include "widgets/ConvertError.h"

namespace {

// Plain codes, a code of digits, and one outside ASCII (UTF-8 and code page 1252 files spell it
// differently).
const std::array<std::string, 4> kLanguages = {"EN", "DE", "01", "\u00DCB"};

const FuzzStartupDir& startupDir() {
  static const FuzzStartupDir dir;
  return dir;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (true) {
    const size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos || end + 1 == text.size()) break;
    start = end + 1;
  }
  return lines;
}

// Reads lines one by one as the file reader does; false when a conversion error stopped it.
bool readLines(const std::vector<std::string_view>& lines, const std::string& language,
               LanguageTexts& table) {
  try {
    for (const std::string_view line : lines) ReadLanguageLine(line, language, table);
  } catch (const EConvertError&) {
    return false;
  }
  return true;
}

bool readFile(const std::string& path, const std::string& language, LanguageTexts& table) {
  try {
    ReadLanguageFile(path, language, table);
  } catch (const EConvertError&) {
    return false;
  }
  return true;
}

void checkTexts(const LanguageTexts& table) {
  for (const std::string& text : table) {
    const std::u32string characters = DecodeFileText(text);
    Check(EncodeUtf8(characters) == text, "every stored text is valid UTF-8");
    Check(characters.size() <= kLanguageTextLength, "no stored text is longer than 100 characters");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = startupDir().Write(kLanguageFileName, data, size);
  const std::vector<std::string_view> lines =
      splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const std::string& language : kLanguages) {
    LanguageTexts fromFile;
    LanguageTexts fromLines;
    const bool fileComplete = readFile(path, language, fromFile);
    const bool linesComplete = readLines(lines, language, fromLines);
    Check(fileComplete == linesComplete, "file and lines stop at the same conversion error");
    Check(fromFile == fromLines, "file and lines give the same texts");
    checkTexts(fromFile);
  }
  return 0;
}
