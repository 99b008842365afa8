#pragma once
// Where a port's hidden notify window comes from. The application installs a
// factory at start-up that makes a target running each notice on its GUI
// thread through the port's window procedure (SioComWindowProc); tests
// install one over their own loop.
//
// Without a factory an open port gets no notify window: it opens, sends and
// reads as usual, but no notice (data available, trigger, deferred close)
// reaches the component, so its trigger events are never raised.

#include <functional>
#include <memory>

#include "serial/NotifyTarget.h"

using NotifyWindowFactory = std::function<std::shared_ptr<NotifyTarget>()>;

// An empty factory removes the installed one. Any thread.
void SetNotifyWindowFactory(NotifyWindowFactory factory);

// A new notify window from the installed factory; none without one.
std::shared_ptr<NotifyTarget> CreateNotifyWindow();
