#pragma once
// The serial layer's message pump on Qt: waits that must keep the window
// alive (closing a port, freeing its dispatcher) process the GUI thread's
// pending events, waiting a few milliseconds at most for one to come. Called
// from any other thread it only yields briefly.

#include <QTimer>

class QtMessagePump {
 public:
  // Create on the GUI thread; installed until destroyed.
  QtMessagePump();
  ~QtMessagePump();
  QtMessagePump(const QtMessagePump&) = delete;
  QtMessagePump& operator=(const QtMessagePump&) = delete;

 private:
  void pump();

  // Bounds the wait for an event.
  QTimer wake_;
};
