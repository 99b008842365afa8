#include "app/LanguageFile.h"

#include <cstdint>

#include "app/CodePageText.h"
#include "app/TextFileReader.h"
#include "widgets/NumberConversion.h"

namespace {

constexpr size_t kCodeLength = 2;
constexpr size_t kNumberStart = 3;
constexpr size_t kNumberLength = 2;
constexpr size_t kTextStart = 6;

// At most count characters of text from position start on; fewer where the text ends.
std::u32string_view part(std::u32string_view text, size_t start, size_t count) {
  if (start >= text.size()) return {};
  return text.substr(start, count);
}

}  // namespace

void ReadLanguageLine(std::string_view line, const std::string& Language,
                      LanguageTexts& LangTable) {
  const std::u32string characters = DecodeFileText(line);
  if (part(characters, 0, kCodeLength) != DecodeFileText(Language)) return;
  const int32_t entry = StrToInt(EncodeUtf8(part(characters, kNumberStart, kNumberLength)));
  if (entry < 0 || static_cast<size_t>(entry) >= kLanguageEntryCount) return;
  LangTable[static_cast<size_t>(entry)] =
      EncodeUtf8(part(characters, kTextStart, kLanguageTextLength));
}

void ReadLanguageFile(const std::string& path, const std::string& Language,
                      LanguageTexts& LangTable) {
  TextFileReader reader(path);
  do {
    ReadLanguageLine(reader.ReadLine(), Language, LangTable);
  } while (!reader.AtEnd());
}
