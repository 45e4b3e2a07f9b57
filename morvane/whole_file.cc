#include "whole_file.h"

#include <cstdio>

namespace morvane {

bool WriteFileWhole(const std::string& name, const std::string& text) {
  const std::string host_name = HostFileName(name);
  const std::string temporary = host_name + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed && RenameOver(temporary, host_name)) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace morvane
