// The table file the SNMP library wrote, turned into channels; and its removal at the end of a run.
#pragma once

#include <string>

#include "run/run_context.h"

namespace kestrova {

// Rows become channels, then the count channel when asked, the message text, and CloseDocument.
void ReadPortTable(RunContext& context);
// Outside Profiler mode: wait 1000 ms, then empty and delete the table file.
void DisposeTableFile(RunContext& context);
// True when no such file exists or it was emptied and deleted.
bool EmptyAndDeleteFile(RunContext& context, const std::string& name);

}  // namespace kestrova
