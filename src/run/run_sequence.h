// One run, from start-up to its exit code.
#pragma once

#include <string>

#include "run/run_context.h"

namespace kestrova {

// The table file's name from command-line argument 1: Router.Prf gives Router.Xrf.
std::string TableFileNameFor(const std::string& first_argument);

// Steps 1 to 20; returns the exit code, which is always 0.
int RunSensor(RunContext& context);

}  // namespace kestrova
