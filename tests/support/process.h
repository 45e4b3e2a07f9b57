// Runs a program as a child process and collects what it printed.
#pragma once

#include <string>
#include <vector>

namespace kestrova_test {

struct ProcessResult {
  std::string standard_output;
  std::string standard_error;
  int exit_code = -1;  // -1 when it did not exit normally
  bool timed_out = false;
  double seconds = 0;
};

// `environment` entries ("NAME=value") are added to this process's environment.
ProcessResult RunProcess(const std::vector<std::string>& command, const std::string& directory,
                         const std::vector<std::string>& environment, int timeout_seconds = 120);

}  // namespace kestrova_test
