#include "serial/ErrorText.h"

#include <cctype>
#include <cstdlib>
#include <map>

#include "serial/SioLeafClasses.h"
#include "serial/SystemErrorText.h"

namespace {

struct CodeRange {
  int32_t first;
  int32_t last;  // inclusive; runs away from zero like the codes' magnitudes
};

// The codes of the table, in table order.
constexpr CodeRange kCodeRanges[] = {
    {0, 0},           {-2, -6},         {-8, -8},         {-15, -15},
    {-18, -18},       {-100, -105},     {-150, -162},     {-1001, -1009},
    {-2001, -2012},   {-3001, -3010},   {-4001, -4017},   {-4020, -4021},
    {4101, 4101},     {4200, 4213},     {4301, 4312},     {4401, 4403},
    {4500, 4523},     {4550, 4553},     {4599, 4611},     {4630, 4633},
    {4660, 4671},     {4700, 4728},     {4730, 4730},     {4801, 4808},
    {4820, 4828},     {4830, 4832},     {4840, 4843},     {-5001, -5003},
    {-5501, -5506},   {-6001, -6016},   {-7001, -7014},   {-7500, -7502},
    {-8001, -8005},   {-8050, -8055},   {-8060, -8075},   {-8080, -8083},
    {-8085, -8085},   {-8087, -8092},   {-8100, -8103},   {-8300, -8305},
    {-8310, -8318},   {-8320, -8322},   {-8330, -8332},   {-8340, -8340},
    {-8500, -8500},   {9001, 9007},     {10000, 10000},   {10004, 10004},
    {10009, 10009},   {10013, 10014},   {10022, 10022},   {10024, 10024},
    {10035, 10071},   {10091, 10093},   {10101, 10101},   {11001, 11004},
    {13501, 13516},   {13533, 13557},   {13565, 13565},   {13597, 13601},
    {13650, 13670},   {-13801, -13803}, {-13805, -13848}, {-13850, -13886},
    {-13928, -13932}, {13933, 13933},   {-13934, -13945}, {-13950, -13959},
    {-13980, -13980}, {15001, 15021},   {15100, 15356},   {15501, 15502},
    {15601, 15608},   {15700, 15742},
};

struct QuotedText {
  int32_t code;
  const char* text;
};

constexpr QuotedText kQuotedTexts[] = {
    {0, "OK"},
    {-2, "File not found"},
    {-3, "Path not found"},
    {-4, "Too many open files"},
    {-5, "File access denied"},
    {-6, "Invalid file handle"},
    {-8, "Insufficient memory"},
    {-15, "Invalid drive"},
    {-18, "No more files"},
    {-100, "Attempt to read beyond end of file"},
    {-101, "Disk is full"},
    {-102, "File/device not assigned"},
    {-103, "File/device not open"},
    {-104, "File/device not open for input"},
    {-105, "File/device not open for output"},
    {-150, "Disk is write-protected"},
    {-151, "Unknown disk unit"},
    {-152, "Drive is not ready"},
    {-153, "Unknown command"},
    {-154, "Data error"},
    {-155, "Bad request structure length"},
    {-156, "Seek error"},
    {-157, "Unknown media type"},
    {-158, "Disk sector not found"},
    {-159, "Printer is out of paper"},
    {-160, "Device write error"},
    {-161, "Device read error"},
    {-162, "General failure"},
    {-1001, "Bad handle passed to com function"},
    {-1002, "Bad argument passed to function"},
    {-1003, "Got quit message"},
    {-1004, "Terminal buffer greater than 65521"},
    {-1005, "ComPort component not assigned"},
    {-1006, "Internal error creating window class"},
    {-1007, "Modem component not assigned"},
    {-1008, "Phonebook component not assigned"},
    {-1009, "Component not compatible with WinSock"},
    {-2001, "ie_BadId - Specified comport doesn't exist"},
    {-2002, "ie_Baudrate - unsupported baud rate"},
    {-2003, "ie_Bytesize - invalid byte size"},
    {-2004, "ie_Default - error in default parameters"},
    {-2005, "ie_Hardware - Specified comport in use"},
    {-2006, "ie_Memory - unable to allocate queues"},
    {-2007, "ie_NOpen - device not open"},
    {-2008, "ie_Open - device already open"},
    {-2009, "No more handles, can't open port"},
    {-2010, "No timers available"},
    {-2011, "The ComNumber property of the TSioComPort has not been set"},
    {-2012, "Comport was not opened by Tapi"},
    {-3001, "No device layer specified"},
    {-3002, "Function not supported by driver"},
    {-3003, "EnableCommNotification failed"},
    {-3004, "Failed to put entire block"},
    {-3005, "Failed to get entire block"},
    {-3006, "Output buffer too small for block"},
    {-3007, "Buffer is empty"},
    {-3008, "Tracing not enabled"},
    {-3009, "Logging not enabled"},
    {-3010, "Base address not set"},
    {-5001, "No more trigger slots"},
    {-5002, "Data trigger too long"},
    {-5003, "Bad trigger handle"},
    {-6006, "Fatal time out"},
    {-6008, "Too many errors during protocol"},
    {-6009, "Block sequence error in Xmodem"},
    {-13868, "No memory"},
};

// Leaves of the families this program does not contain have no quoted text;
// their entries read as the class name in words ("ETapiBusy" -> "Tapi busy").
std::string wordsOfClassName(const char* name) {
  std::string words;
  for (const char* p = name + 1; *p != '\0'; ++p) {
    const bool wordStart = p != name + 1 && std::isupper(static_cast<unsigned char>(*p)) &&
                           !std::isupper(static_cast<unsigned char>(p[-1]));
    if (wordStart) words += ' ';
    words += (p == name + 1 || !wordStart) ? *p : static_cast<char>(std::tolower(*p));
  }
  return words;
}

std::map<int32_t, std::string> textsByCode() {
  std::map<int32_t, std::string> texts;
#define AZIMARA_SIO_LEAF_TEXT(Code, Name, Group) texts[Code] = wordsOfClassName(#Name);
  AZIMARA_SIO_LEAF_CLASSES(AZIMARA_SIO_LEAF_TEXT)
#undef AZIMARA_SIO_LEAF_TEXT
  for (const QuotedText& quoted : kQuotedTexts) texts[quoted.code] = quoted.text;
  return texts;
}

std::vector<ErrorTextEntry> buildTable() {
  const std::map<int32_t, std::string> texts = textsByCode();
  std::vector<ErrorTextEntry> table;
  for (const CodeRange& range : kCodeRanges) {
    const int32_t step = range.last >= range.first ? 1 : -1;
    for (int32_t code = range.first;; code += step) {
      const auto text = texts.find(code);
      table.push_back({code, text == texts.end() ? std::string() : text->second});
      if (code == range.last) break;
    }
  }
  return table;
}

// The system's own text for an error number, or empty when it has none.
std::string systemErrorText(int number) {
  std::string text;
  for (const char c : SystemErrorText(number).substr(0, 255)) {
    const char blankOrSame = static_cast<unsigned char>(c) < ' ' ? ' ' : c;
    if (blankOrSame == ' ' && !text.empty() && text.back() == ' ') continue;
    text += blankOrSame;
  }
  return text;
}

}  // namespace

const std::vector<ErrorTextEntry>& ErrorTextTable() {
  static const std::vector<ErrorTextEntry> table = buildTable();
  return table;
}

std::ptrdiff_t SearchMiddle(std::ptrdiff_t low, std::ptrdiff_t high) {
  const std::ptrdiff_t sum = low + high;
  if (sum % 2 == 0) return sum / 2;
  const std::ptrdiff_t below = (sum - 1) / 2;
  return below % 2 == 0 ? below : below + 1;
}

std::string ErrorText(int32_t code) {
  const int32_t magnitude = std::abs(static_cast<int32_t>(static_cast<int16_t>(code)));
  const std::vector<ErrorTextEntry>& table = ErrorTextTable();
  std::ptrdiff_t low = 0;
  std::ptrdiff_t high = static_cast<std::ptrdiff_t>(table.size()) - 1;
  while (high >= low) {
    const std::ptrdiff_t middle = SearchMiddle(low, high);
    const int32_t found = std::abs(table[static_cast<size_t>(middle)].Code);
    if (found == magnitude) return table[static_cast<size_t>(middle)].Text.substr(0, 255);
    if (found > magnitude) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
  }
  return systemErrorText(magnitude);
}
