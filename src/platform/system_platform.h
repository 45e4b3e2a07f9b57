// The platform of the machine the program runs on.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace kestrova {

// Also sets up the process: standard output in binary mode, SIGPIPE ignored.
std::unique_ptr<Platform> CreateSystemPlatform();

}  // namespace kestrova
