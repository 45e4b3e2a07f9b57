#include <windows.h>

#include "whole_file.h"

namespace morvane {

std::string HostFileName(const std::string& name) { return name; }

bool RenameOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace morvane
