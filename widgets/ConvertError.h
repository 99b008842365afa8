#pragma once
// The error a text conversion raises when the text is not a number of the
// wanted kind, e.g. "'1E' is not a valid floating point value".

#include <stdexcept>
#include <string>

class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const std::string& message) : std::runtime_error(message) {}
};
