#pragma once
// What a request to the trace or the log of an open port does, given the
// state the recording is in. The recording itself is the dispatcher's; the
// component reaches it through a RecordingControl.

#include <cstdint>

#include "serial/ComPortTypes.h"

// One recording (the byte trace or the event log) of an open port.
class RecordingControl {
 public:
  virtual ~RecordingControl() = default;
  // Starts recording, empty: 0 or an error code.
  virtual int32_t Start() = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  // Empties the recording; it goes on.
  virtual void Clear() = 0;
  // Stops recording and discards the content.
  virtual void Stop() = 0;
  // Writes the content to the recording's file (appended when asked, else
  // replacing it) and empties it: 0 or an error code, which also stops it.
  virtual int32_t Dump(bool append) = 0;
};

struct TraceLogOutcome {
  TTraceLogState State;  // tlOff, tlOn or tlPause
  int32_t Result;        // 0 or the error code of Start or Dump
};

// tlOn starts recording, or resumes a paused one; tlOff stops and discards;
// tlDump writes and stops; tlAppend the same, appending; tlAppendAndContinue
// appends and goes on; tlClear empties and goes on; tlPause keeps the
// content. Requests other than tlOn do nothing unless recording is on or
// paused.
TraceLogOutcome ApplyTraceLogRequest(TTraceLogState current, TTraceLogState request,
                                     RecordingControl& recording);
