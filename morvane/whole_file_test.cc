#include "whole_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace morvane {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class WholeFileTest : public testing::Test {
 protected:
  void SetUp() override {
    directory_ =
        fs::temp_directory_path() /
        ("morvane_whole_file_" + std::to_string(testing::UnitTest::GetInstance()->random_seed()) +
         "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  fs::path directory_;
};

TEST_F(WholeFileTest, ReplacesAnExistingFileAndLeavesNoTemporary) {
  const fs::path table = directory_ / "Router.Xrf";
  std::ofstream(table) << "an older and much longer table file";
  ASSERT_TRUE(WriteFileWhole(table.string(), "new\r\n"));
  EXPECT_EQ(Read(table), "new\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 1);
}

TEST_F(WholeFileTest, FailsWithoutLeavingAnythingWhenTheDirectoryIsMissing) {
  const fs::path table = directory_ / "missing" / "Router.Xrf";
  EXPECT_FALSE(WriteFileWhole(table.string(), "rows"));
  EXPECT_FALSE(fs::exists(table));
  EXPECT_TRUE(fs::is_empty(directory_));
}

TEST_F(WholeFileTest, FailsWhenTheNameIsADirectory) {
  fs::create_directories(directory_ / "Router.Xrf");
  EXPECT_FALSE(WriteFileWhole((directory_ / "Router.Xrf").string(), "rows"));
  EXPECT_FALSE(fs::exists(directory_ / "Router.Xrf.tmp"));
}

}  // namespace
}  // namespace morvane
