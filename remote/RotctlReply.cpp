#include "remote/RotctlReply.h"

#include "remote/Joined.h"

RotctlReply::RotctlReply(const RotctlRequest& request) : request_(request) {}

void RotctlReply::Value(std::string_view label, std::string_view text) {
  if (request_.Extended) {
    values_.append(label).append(": ");
  }
  values_.append(text) += request_.Separator;
}

void RotctlReply::Setting(std::string_view label, std::string_view key, std::string_view text) {
  if (request_.Extended) {
    values_.append(label).append(": ");
  } else {
    values_.append(key).append("=");
  }
  values_.append(text) += request_.Separator;
}

void RotctlReply::Record(std::string_view text) { values_.append(text) += request_.Separator; }

std::string RotctlReply::Succeeded() const {
  std::string reply = header() + values_;
  if (request_.Extended || !request_.Command->GivesValues) reply += status(0);
  return reply;
}

std::string RotctlReply::Failed(int value) const { return header() + status(value); }

std::string RotctlReply::header() const {
  if (!request_.Extended) return {};
  std::string text(request_.Command->Name);
  text += ':';
  for (const std::string& argument : request_.Arguments) text.append(" ").append(argument);
  return text + request_.Separator;
}

std::string RotctlReply::status(int value) const {
  return Joined({"RPRT ", std::to_string(value), "\n"});
}
