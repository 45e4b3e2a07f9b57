#include <stdexcept>

#include "failure.h"

namespace morvane {

void RaiseQueryFailure(const char* reason) { throw std::runtime_error(reason); }

}  // namespace morvane
