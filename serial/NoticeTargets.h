#pragma once
// Who hears of a dispatcher's notices, and from how many unread bytes on:
// the notify targets, whether the component's handler is installed, and
// whether a notice is worth delivering at all. Not locked itself: the
// dispatcher guards it with its DispatchLock.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "serial/NotifyTarget.h"

struct NoticeTargets {
  // Appends target; the number of targets now.
  size_t Add(std::shared_ptr<NotifyTarget> target);
  // Takes target out, or, during a delivery, only marks it for EraseRemoved.
  void Remove(const std::shared_ptr<NotifyTarget>& target, bool delivering);
  // Takes out the targets marked during a delivery; whether there were any.
  bool EraseRemoved();
  // Kind 0: recompute whether notices are needed; 1: the component's handler
  // is installed; 2: it is removed.
  void UpdateService(uint8_t kind);
  // Whether a delivery reaches anyone: a target beyond the component's own,
  // or the component's handler.
  bool Served() const;
  // The i-th target into target, none when it is marked removed; false once
  // past the last one or no longer served.
  bool TargetAt(size_t i, std::shared_ptr<NotifyTarget>& target) const;
  // The targets not marked removed.
  std::vector<std::shared_ptr<NotifyTarget>> Live() const;

  // Notices of available data go out once this many bytes are unread; 0
  // stops them.
  uint32_t AvailThreshold = 0;
  // A notice has anyone to go to; none skips the delivery.
  bool ServiceNeeded = false;
  bool PortHandlerInstalled = false;
  bool RemovalsPending = false;

 private:
  struct WindowHandler {
    std::shared_ptr<NotifyTarget> Target;
    bool Deleted = false;
  };
  std::vector<WindowHandler> handlers_;
};
