// The SNMP library: bound at run time, asked once for the port table, released at the end.
#pragma once

#include "run/run_context.h"

namespace kestrova {

// Loads Morvane.Dll, opens it, traces its version and finds its query. False after an error
// document: the run ends.
bool BindSnmpLibrary(RunContext& context);
// The query that writes the table file; a failure is reported inside the open document.
void RunSnmpQuery(RunContext& context);
void ReleaseSnmpLibrary(RunContext& context);

}  // namespace kestrova
