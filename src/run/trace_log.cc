#include "run/trace_log.h"

#include <cstdio>

namespace kestrova {

namespace {

// hh:mm:ss, whatever the machine's regional settings say.
std::string TimeStamp(const TimeOfDay& time) {
  char stamp[16];
  snprintf(stamp, sizeof stamp, "%02d:%02d:%02d", time.hour, time.minute, time.second);
  return stamp;
}

}  // namespace

bool OpenTraceLog(RunContext& context) {
  if (!InProfilerMode(context)) return true;
  context.trace_file =
      context.platform->CreateWithReadSharing(context.sensor_directory + "\\Profiler" + ".Trc");
  if (!context.trace_file) {
    context.platform->WriteStandardOutput("* Trace-File failed...\r\n");
    context.platform->SleepMilliseconds(1000);
    return false;
  }
  context.trace_open = true;
  return true;
}

void TraceLine(RunContext& context, const std::string& text) {
  if (!context.trace_open || !context.trace_file) return;
  context.trace_file->Write(TimeStamp(context.platform->LocalTimeOfDay()) + " " + text + "\r\n");
}

void CloseTraceLog(RunContext& context) {
  if (!context.trace_file) return;
  context.trace_file->Flush();
  context.trace_file.reset();
}

}  // namespace kestrova
