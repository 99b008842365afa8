#include "serial/NoticeTargets.h"

#include <algorithm>

size_t NoticeTargets::Add(std::shared_ptr<NotifyTarget> target) {
  handlers_.push_back({std::move(target), false});
  ServiceNeeded = true;
  return handlers_.size();
}

void NoticeTargets::Remove(const std::shared_ptr<NotifyTarget>& target, bool delivering) {
  const auto found =
      std::find_if(handlers_.begin(), handlers_.end(),
                   [&target](const WindowHandler& h) { return h.Target == target && !h.Deleted; });
  if (found == handlers_.end()) return;
  if (delivering) {
    found->Deleted = true;
    RemovalsPending = true;
  } else {
    handlers_.erase(found);
  }
}

bool NoticeTargets::EraseRemoved() {
  if (!RemovalsPending) return false;
  std::erase_if(handlers_, [](const WindowHandler& h) { return h.Deleted; });
  RemovalsPending = false;
  return true;
}

void NoticeTargets::UpdateService(uint8_t kind) {
  // A dispatcher's only handlers are notify targets; "others" beyond the
  // component's own means more than one of them.
  const bool others = handlers_.size() > 1;
  switch (kind) {
    case 0:
      ServiceNeeded = others || PortHandlerInstalled;
      break;
    case 1:
      PortHandlerInstalled = true;
      ServiceNeeded = true;
      break;
    case 2:
      PortHandlerInstalled = false;
      ServiceNeeded = others;
      break;
    default:
      break;
  }
}

bool NoticeTargets::Served() const { return handlers_.size() > 1 || PortHandlerInstalled; }

bool NoticeTargets::TargetAt(size_t i, std::shared_ptr<NotifyTarget>& target) const {
  if (!Served() || i >= handlers_.size()) return false;
  target = handlers_[i].Deleted ? nullptr : handlers_[i].Target;
  return true;
}

std::vector<std::shared_ptr<NotifyTarget>> NoticeTargets::Live() const {
  std::vector<std::shared_ptr<NotifyTarget>> targets;
  for (const WindowHandler& handler : handlers_) {
    if (!handler.Deleted) targets.push_back(handler.Target);
  }
  return targets;
}
