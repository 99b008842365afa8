#pragma once
// A process-wide function that the application installs at start-up (the exception display,
// the port prompt, the notify window factory, the message pump). Installed and called from
// any thread; a call keeps the function it began with even if another is installed meanwhile.

#include <functional>
#include <memory>
#include <mutex>

template <typename Signature>
class InstalledHook {
 public:
  using Function = std::function<Signature>;

  // An empty function removes the installed one.
  void Install(Function function) {
    const std::lock_guard<std::mutex> lock(lock_);
    installed_ = function ? std::make_shared<const Function>(std::move(function)) : nullptr;
  }

  // The installed function; none without one.
  std::shared_ptr<const Function> Current() const {
    const std::lock_guard<std::mutex> lock(lock_);
    return installed_;
  }

 private:
  mutable std::mutex lock_;
  std::shared_ptr<const Function> installed_;
};
