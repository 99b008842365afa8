#include "serial/TraceLogControl.h"

TraceLogOutcome ApplyTraceLogRequest(TTraceLogState current, TTraceLogState request,
                                     RecordingControl& recording) {
  if (request == tlOn) {
    if (current == tlPause) {
      recording.Resume();
      return {tlOn, 0};
    }
    const int32_t result = recording.Start();
    return {result == 0 ? tlOn : tlOff, result};
  }
  if (current != tlOn && current != tlPause) return {tlOff, 0};
  switch (request) {
    case tlDump:
    case tlAppend: {
      const int32_t result = recording.Dump(request == tlAppend);
      recording.Stop();
      return {tlOff, result};
    }
    case tlAppendAndContinue: {
      const int32_t result = recording.Dump(true);
      return {result == 0 ? current : tlOff, result};
    }
    case tlClear:
      recording.Clear();
      return {current, 0};
    case tlPause:
      if (current == tlOn) recording.Pause();
      return {tlPause, 0};
    case tlOff:
    case tlOn:
      break;
  }
  recording.Stop();
  return {tlOff, 0};
}
