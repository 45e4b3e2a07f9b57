// The time-stamped trace log of a Profiler run, Profiler.Trc in the sensor directory.
#pragma once

#include <string>

#include "run/run_context.h"

namespace kestrova {

// Creates the trace file in Profiler mode. False after "* Trace-File failed..." and its wait: the
// run ends.
bool OpenTraceLog(RunContext& context);
// One line "hh:mm:ss text" while the trace log is open; nothing otherwise.
void TraceLine(RunContext& context, const std::string& text);
void CloseTraceLog(RunContext& context);

}  // namespace kestrova
