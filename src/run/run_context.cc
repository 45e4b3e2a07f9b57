#include "run/run_context.h"

#include "text/text.h"

namespace kestrova {

const std::string& RunContext::Argument(size_t number) const {
  static const std::string kAbsent;
  return number >= 1 && number <= arguments.size() ? arguments[number - 1] : kAbsent;
}

bool InProfilerMode(const RunContext& context) {
  return Contains(context.parameter_line, "Profiler.Prf");
}

}  // namespace kestrova
