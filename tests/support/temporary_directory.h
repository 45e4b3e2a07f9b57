// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>

namespace kestrova_test {

struct TemporaryDirectory {
  TemporaryDirectory();
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  std::filesystem::path path;
};

}  // namespace kestrova_test
