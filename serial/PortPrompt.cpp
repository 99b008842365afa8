#include "serial/PortPrompt.h"

#include <memory>
#include <mutex>

namespace {

std::mutex& hookLock() {
  static std::mutex lock;
  return lock;
}

std::shared_ptr<const PortPrompt>& installedPrompt() {
  static std::shared_ptr<const PortPrompt> prompt;
  return prompt;
}

}  // namespace

void SetPortPrompt(PortPrompt prompt) {
  const std::lock_guard<std::mutex> lock(hookLock());
  installedPrompt() = prompt ? std::make_shared<const PortPrompt>(std::move(prompt)) : nullptr;
}

std::optional<uint16_t> PromptForPortNumber() {
  std::shared_ptr<const PortPrompt> prompt;
  {
    const std::lock_guard<std::mutex> lock(hookLock());
    prompt = installedPrompt();
  }
  if (!prompt) return std::nullopt;
  return (*prompt)();
}
