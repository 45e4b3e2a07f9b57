#include "support/temporary_directory.h"

#include <stdlib.h>

#include <string>

namespace kestrova_test {

TemporaryDirectory::TemporaryDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kestrova_test_XXXXXX").string();
  if (mkdtemp(&pattern[0])) path = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
  std::error_code ignored;
  if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

}  // namespace kestrova_test
