// How a failed query leaves the library: the program's guarded call catches it.
//
// POSIX: a std::runtime_error whose what() is the reason.
// Windows: RaiseException with code kQueryFailedCode (0xE04D5651), non-continuable, with one
// argument: the address of the reason text, valid until the library's next call.
#pragma once

#include <cstdint>

namespace morvane {

constexpr uint32_t kQueryFailedCode = 0xE04D5651;

[[noreturn]] void RaiseQueryFailure(const char* reason);

}  // namespace morvane
