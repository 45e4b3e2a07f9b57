#include "packages/package_files.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace kestrova_test {

std::string PackagePath(const std::string& name) {
  const char* directory = std::getenv("KESTROVA_PACKAGES");
  return std::string(directory ? directory : "") + "/" + name;
}

ProcessResult Unpack(const std::string& package, const std::string& into) {
  fs::create_directories(into);
  if (fs::path(package).extension() == ".deb")
    return RunProcess({"dpkg", "-x", package, into}, "", {});
  return RunProcess({"cmake", "-E", "tar", "xf", package}, into, {});
}

std::set<std::string> Entries(const std::string& directory) {
  std::set<std::string> entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(directory)) {
    if (!entry.is_directory() || entry.is_symlink()) {
      entries.insert(entry.path().lexically_relative(directory).generic_string());
    }
  }
  return entries;
}

}  // namespace kestrova_test
