// The command line, the device profile and the options of one run.
#pragma once

#include "run/run_context.h"

namespace kestrova {

// Arguments 1 to 5 joined by single blanks.
void BuildParameterLine(RunContext& context);
// The five profile values from the sensor directory's profile. False after Error 1006: the run ends.
bool ReadProfile(RunContext& context);
// The selection and the state filter, with trace lines 2 to 5.
void ReadOptions(RunContext& context);

}  // namespace kestrova
