#pragma once
// The language file: texts of several languages side by side, one text a line. A line is used
// when its first two characters are the language code; characters 4-5 give the entry number,
// character 7 onward the text (at most 100 characters). Characters 3 and 6 separate and are
// not examined. Other lines (other languages, blank lines, comments) are skipped.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

inline constexpr const char* kLanguageFileName = "QV_M_language.csv";

inline constexpr size_t kLanguageEntryCount = 101;
inline constexpr size_t kLanguageTextLength = 100;

// Entries 0 to 100, UTF-8 texts; all empty at the start.
using LanguageTexts = std::array<std::string, kLanguageEntryCount>;

// The entries the window uses.
enum LanguageEntry : size_t {
  EntryLanguageLabel = 1,  // caption of the language label
  EntryExitButton = 2,     // caption of the Exit button
  EntryPortError = 4,      // ends "Port COM<n>" when a port cannot be opened
  EntryManualGroups = 5,   // the manual groups' captions, before " 1", " 2", " 1+2"
  EntryParkingHint = 7,    // the park fields' hints, before " 1" and " 2"
  EntryInvalidInput = 8,   // starts the message about a rejected text
};

// Stores the text of line in LangTable when the line belongs to Language; other lines leave
// the table alone, and so do lines whose entry number lies outside 0 to 100. Raises
// EConvertError when a line of Language has no number in characters 4-5.
void ReadLanguageLine(std::string_view line, const std::string& Language, LanguageTexts& LangTable);

// Reads every line of the file at path with ReadLanguageLine, in file order. A conversion
// error stops the reading: the entries stored before keep their new texts. Raises
// EInOutError when the file cannot be read.
void ReadLanguageFile(const std::string& path, const std::string& Language,
                      LanguageTexts& LangTable);
