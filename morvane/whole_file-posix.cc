#include <cstdio>

#include "platform/host_path.h"
#include "whole_file.h"

namespace morvane {

std::string HostFileName(const std::string& name) {
  return kestrova::HostPath(name, kestrova::DrivesRoot());
}

bool RenameOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace morvane
