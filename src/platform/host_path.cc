#include "platform/host_path.h"

#include <cstdlib>

namespace kestrova {

std::string DrivesRoot() {
  const char* drives = std::getenv("KESTROVA_DRIVES");
  return drives && *drives ? drives : "/mnt";
}

static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string HostPath(const std::string& path, const std::string& drives_root) {
  std::string mapped;
  size_t rest = 0;
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':') {
    const char drive = static_cast<char>(path[0] | 0x20);
    mapped = drives_root + "/" + drive;
    rest = 2;
    // "C:Dir" is relative to the drive's current directory, which POSIX lacks: the drive root.
    if (rest < path.size() && path[rest] != '\\' && path[rest] != '/') mapped += '/';
  }
  for (size_t i = rest; i < path.size(); ++i) mapped += path[i] == '\\' ? '/' : path[i];
  return mapped;
}

}  // namespace kestrova
