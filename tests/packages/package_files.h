// The release packages under test (the directory KESTROVA_PACKAGES) and what is inside them.
#pragma once

#include <set>
#include <string>

#include "support/process.h"

namespace kestrova_test {

// The host path of the package file `name`. The file names carry the version, KESTROVA_VERSION:
// PackagePath("kestrova-" KESTROVA_VERSION "-win64.zip").
std::string PackagePath(const std::string& name);

// Unpacks a .zip, .tar.gz or .deb into the directory `into`, as an administrator would: a .deb with
// dpkg -x, the archives with cmake -E tar.
ProcessResult Unpack(const std::string& package, const std::string& into);

// The files and symbolic links below `directory`, as paths relative to it.
std::set<std::string> Entries(const std::string& directory);

}  // namespace kestrova_test
