#include "app/SerialQtHooks.h"

#include "app/ComNotifyWindow.h"
#include "app/ComSelectForm.h"
#include "app/MessageBoxes.h"
#include "serial/ExceptionDisplay.h"
#include "serial/NotifyWindowFactory.h"
#include "serial/PortPrompt.h"

SerialQtHooks::SerialQtHooks() {
  SetNotifyWindowFactory([] { return ComNotifyWindow::Create(); });
  SetExceptionDisplay(ShowExceptionBox);
  SetPortPrompt(TComSelectForm::AskForPort);
}

SerialQtHooks::~SerialQtHooks() {
  SetPortPrompt({});
  SetExceptionDisplay({});
  SetNotifyWindowFactory({});
}
