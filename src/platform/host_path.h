// How a Windows-style path text names a file on POSIX: every "\" becomes "/", and a leading drive
// "X:" becomes the directory <drives>/x. Shared by the program and our SNMP library.
#pragma once

#include <string>

namespace kestrova {

// The root of the drive directories: $KESTROVA_DRIVES, or /mnt when unset or empty.
std::string DrivesRoot();

std::string HostPath(const std::string& path, const std::string& drives_root);

}  // namespace kestrova
