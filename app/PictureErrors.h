#pragma once
// Why a dial picture could not be loaded. what() is the text the operator sees.

#include <stdexcept>
#include <string>

// The picture file could not be opened: "Datei <full path> kann nicht geöffnet werden. <reason>".
class EFileOpenError : public std::runtime_error {
 public:
  // fullPath as it should be shown; errorNumber an errno value giving the system's reason.
  EFileOpenError(const std::string& fullPath, int errorNumber);
};

// The file's content is no picture we can show: "JPEG-Fehler #<decoder message code>", or a
// picture too large to be a dial.
class EInvalidGraphic : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
