#include "remote/RotctlParser.h"

namespace {

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

// C's isspace in the C locale, whatever locale the process runs in.
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || isLineEnd(c); }

bool isAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isNameChar(char c) { return isAlnum(c) || c == '_'; }

// Printable ASCII or white space: what commands, arguments and comments are written in.
bool isText(char c) { return (c >= ' ' && c < 127) || isSpace(c); }

// The characters that choose the extended reply and its record separator: C's ispunct in the C
// locale, without those hamlib reserves ('\' long names, '_' get_info, '#' comments).
bool isSeparator(char c) {
  return c > ' ' && c < 127 && !isAlnum(c) && c != '\\' && c != '_' && c != '#';
}

}  // namespace

RotctlParser::Step RotctlParser::Take(char byte) {
  if (state_ == State::Failed) return Step::Failed;
  if (!isText(byte)) return fail(RotctlFault::Garbage);
  if (isLineEnd(byte)) {
    lineLength_ = 0;
  } else if (++lineLength_ > kLongestLine) {
    return fail(RotctlFault::LineTooLong);
  }
  switch (state_) {
    case State::Command:
      return atCommand(byte);
    case State::AfterPlus:
      return afterPlus(byte);
    case State::AfterSeparator:
      return commandName(byte);
    case State::LongName:
      return longName(byte);
    case State::Comment:
      if (isLineEnd(byte)) state_ = State::Command;
      return Step::More;
    case State::ArgumentGap:
      return argumentGap(byte);
    case State::Argument:
      return argument(byte);
    case State::LineArgument:
      return lineArgument(byte);
    case State::Failed:
      break;
  }
  return Step::Failed;
}

RotctlParser::Step RotctlParser::atCommand(char byte) {
  if (isSpace(byte)) return Step::More;
  request_ = RotctlRequest{};
  if (byte == '+') {
    request_.Extended = true;
    state_ = State::AfterPlus;
    return Step::More;
  }
  return afterPlus(byte);
}

RotctlParser::Step RotctlParser::afterPlus(char byte) {
  if (isSeparator(byte)) {
    request_.Extended = true;
    request_.Separator = byte;
    state_ = State::AfterSeparator;
    return Step::More;
  }
  return commandName(byte);
}

RotctlParser::Step RotctlParser::commandName(char byte) {
  state_ = State::Command;
  // A prefix that the line ends after prefixes nothing.
  if (isLineEnd(byte)) return Step::More;
  if (byte == '\\') {
    token_.clear();
    nameTooLong_ = false;
    state_ = State::LongName;
    return Step::More;
  }
  if (byte == '#') {
    state_ = State::Comment;
    return Step::More;
  }
  if (byte == 'q' || byte == 'Q') return Step::Quit;
  if (const RotctlCommand* command = FindShortCommand(byte)) return begin(command);
  return unknown(byte);
}

RotctlParser::Step RotctlParser::longName(char byte) {
  if (isNameChar(byte)) {
    if (token_.size() < kLongestName) {
      token_ += byte;
    } else {
      nameTooLong_ = true;
    }
    return Step::More;
  }
  state_ = State::Command;
  const RotctlCommand* command = nameTooLong_ ? nullptr : FindLongCommand(token_);
  return command != nullptr ? begin(command) : unknown(byte);
}

RotctlParser::Step RotctlParser::begin(const RotctlCommand* command) {
  unknownInARow_ = 0;
  request_.Command = command;
  token_.clear();
  if (command->Arguments == 0) {
    state_ = State::Command;
    return Step::Complete;
  }
  emptyLineSkipped_ = false;
  state_ = command->LineArgument ? State::LineArgument : State::ArgumentGap;
  return Step::More;
}

RotctlParser::Step RotctlParser::unknown(char byte) {
  // Blanks between requests are no command at all, but hamlib would try each as one.
  if (isSpace(byte)) return Step::More;
  if (++unknownInARow_ >= kUnknownInARow) return fail(RotctlFault::Garbage);
  return Step::More;
}

RotctlParser::Step RotctlParser::argumentGap(char byte) {
  if (isSpace(byte)) return Step::More;
  token_.assign(1, byte);
  state_ = State::Argument;
  return Step::More;
}

RotctlParser::Step RotctlParser::argument(char byte) {
  if (!isSpace(byte)) {
    if (token_.size() >= kLongestArgument) return fail(RotctlFault::ArgumentTooLong);
    token_ += byte;
    return Step::More;
  }
  request_.Arguments.push_back(std::move(token_));
  token_.clear();
  // hamlib reads no further argument after one that asks for help.
  const bool done = static_cast<int>(request_.Arguments.size()) == request_.Command->Arguments ||
                    request_.Arguments.front().front() == '?';
  state_ = done ? State::Command : State::ArgumentGap;
  return done ? Step::Complete : Step::More;
}

RotctlParser::Step RotctlParser::lineArgument(char byte) {
  if (byte != '\n') {
    if (token_.size() >= kLongestArgument) return fail(RotctlFault::ArgumentTooLong);
    token_ += byte;
    return Step::More;
  }
  if (token_.empty() && !emptyLineSkipped_) {
    emptyLineSkipped_ = true;
    return Step::More;
  }
  if (!token_.empty() && token_.front() == ' ') token_.erase(0, 1);
  request_.Arguments.push_back(std::move(token_));
  token_.clear();
  state_ = State::Command;
  return Step::Complete;
}

RotctlParser::Step RotctlParser::fail(RotctlFault fault) {
  fault_ = fault;
  state_ = State::Failed;
  return Step::Failed;
}
