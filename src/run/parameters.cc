#include "run/parameters.h"

#include "run/trace_log.h"
#include "text/text.h"

namespace kestrova {

void BuildParameterLine(RunContext& context) {
  context.parameter_line.clear();
  for (size_t number = 1; number <= 5; ++number) {
    const std::string& argument = context.Argument(number);
    if (!argument.empty()) context.parameter_line = Trim(context.parameter_line + " " + argument);
  }
}

bool ReadProfile(RunContext& context) {
  context.profile_path = context.sensor_directory + "\\" + context.Argument(1);
  return true;
}

void ReadOptions(RunContext&) {}

}  // namespace kestrova
