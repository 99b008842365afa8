#include "serial/PortPrompt.h"

#include "serial/InstalledHook.h"

namespace {

InstalledHook<std::optional<uint16_t>()>& promptHook() {
  static InstalledHook<std::optional<uint16_t>()> hook;
  return hook;
}

}  // namespace

void SetPortPrompt(PortPrompt prompt) { promptHook().Install(std::move(prompt)); }

std::optional<uint16_t> PromptForPortNumber() {
  const auto prompt = promptHook().Current();
  if (!prompt) return std::nullopt;
  return (*prompt)();
}
