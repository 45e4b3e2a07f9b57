#include <string>
#include <vector>

#include "platform/system_platform.h"
#include "run/run_sequence.h"

int main(int argc, char** argv) {
  auto platform = kestrova::CreateSystemPlatform();
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  int exit_code;
  {
    kestrova::RunContext context(platform.get(), std::move(arguments));
    exit_code = kestrova::RunSensor(context);
  }
  platform->FlushStandardOutput();
  return exit_code;
}
