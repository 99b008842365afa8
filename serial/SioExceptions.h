#pragma once
// The exception classes of the serial layer and the two runtime classes its
// error check raises. Every class carries its message as what().

#include <cstdint>
#include <exception>
#include <string>

// The runtime's plain exception: a message and nothing else.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }

 private:
  std::string message_;
};

// Raised for the operating-system error numbers 2 to 162; ErrorCode is positive.
class EInOutError : public Exception {
 public:
  EInOutError(std::string message, int32_t errorCode)
      : Exception(std::move(message)), ErrorCode(errorCode) {}
  int32_t ErrorCode;
};

// Raised for code -8 (insufficient memory).
class EOutOfMemory : public Exception {
 public:
  using Exception::Exception;
};

// Root of the serial layer's own exceptions.
class ESioException : public Exception {
 public:
  // ErrorCode = code, message = ErrorText(code).
  explicit ESioException(int32_t code);
  // ErrorCode = 0, message as given.
  explicit ESioException(std::string message);
  int32_t ErrorCode;
};

#define AZIMARA_SIO_GROUP(Name)                \
  class Name : public ESioException {          \
   public:                                     \
    using ESioException::ESioException;        \
  };
AZIMARA_SIO_GROUP(EGeneral)
AZIMARA_SIO_GROUP(EOpenComm)
AZIMARA_SIO_GROUP(ESerialIO)
AZIMARA_SIO_GROUP(EModem)
AZIMARA_SIO_GROUP(ETrigger)
AZIMARA_SIO_GROUP(EProtocol)
AZIMARA_SIO_GROUP(EINI)
AZIMARA_SIO_GROUP(EFax)
AZIMARA_SIO_GROUP(ETapi)
AZIMARA_SIO_GROUP(ERas)
#undef AZIMARA_SIO_GROUP

#include "serial/SioLeafClasses.h"

#define AZIMARA_SIO_DECLARE_LEAF(Code, Name, Group)  \
  class Name : public Group {                          \
   public:                                             \
    explicit Name(int32_t code = Code) : Group(code) {} \
  };
AZIMARA_SIO_LEAF_CLASSES(AZIMARA_SIO_DECLARE_LEAF)
#undef AZIMARA_SIO_DECLARE_LEAF
