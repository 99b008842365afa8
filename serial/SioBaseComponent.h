#pragma once
// The base of the serial components: a named component with a tag, the
// read-only version text and the loading and designing states.

#include <atomic>
#include <cstdint>
#include <string>

class TSioBaseComponent {
 public:
  TSioBaseComponent() = default;
  virtual ~TSioBaseComponent() = default;
  TSioBaseComponent(const TSioBaseComponent&) = delete;
  TSioBaseComponent& operator=(const TSioBaseComponent&) = delete;

  // Always "v4.07"; writing it does nothing.
  std::string Version() const { return "v4.07"; }
  void SetVersion(const std::string&) {}

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  // While loading, the serial error check returns codes instead of raising.
  // Read by the port threads, hence atomic.
  bool ComponentLoading() const { return loading_.load(); }
  void BeginLoading() { loading_.store(true); }
  // Ends the loading state and runs AfterLoad.
  void EndLoading();

  bool ComponentDesigning() const { return designing_.load(); }
  void SetComponentDesigning(bool designing) { designing_.store(designing); }

 protected:
  // Runs once the component's stored properties have all been read.
  virtual void AfterLoad() {}

 private:
  std::string name_;
  intptr_t tag_ = 0;
  std::atomic<bool> loading_{false};
  std::atomic<bool> designing_{false};
};
