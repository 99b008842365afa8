#pragma once
// The Qt side of the serial port component, installed for as long as the
// object lives: notify windows (ComNotifyWindow), the message pump
// (QtMessagePump), the exception display (the panel's message boxes,
// ShowExceptionBox) and the port
// prompt (TComSelectForm). Create one on the GUI thread right after the
// QApplication, before any port opens:
//
//   QApplication application(argc, argv);
//   const SerialQtHooks serialHooks;

#include "app/QtMessagePump.h"

class SerialQtHooks {
 public:
  SerialQtHooks();
  ~SerialQtHooks();
  SerialQtHooks(const SerialQtHooks&) = delete;
  SerialQtHooks& operator=(const SerialQtHooks&) = delete;

 private:
  QtMessagePump pump_;
};
