#include <windows.h>

#include <cstdlib>

#include "failure.h"

namespace morvane {

void RaiseQueryFailure(const char* reason) {
  const ULONG_PTR arguments[1] = {reinterpret_cast<ULONG_PTR>(reason)};
  RaiseException(kQueryFailedCode, EXCEPTION_NONCONTINUABLE, 1, arguments);
  std::abort();  // not reached: a non-continuable exception never returns
}

}  // namespace morvane
