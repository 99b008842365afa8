#include "serial/SioExceptions.h"

#include "serial/ErrorText.h"

ESioException::ESioException(int32_t code) : Exception(ErrorText(code)), ErrorCode(code) {}

ESioException::ESioException(std::string message)
    : Exception(std::move(message)), ErrorCode(0) {}
