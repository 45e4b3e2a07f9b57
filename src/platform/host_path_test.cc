// Paths on POSIX: every "\" becomes "/", a leading drive "X:" becomes the
// directory <drives>/x, and KESTROVA_DRIVES names <drives> (default /mnt).
#include "platform/host_path.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

namespace kestrova {
namespace {

struct MappingCase {
  const char* path;
  const char* expected;
};

class HostPathTest : public testing::TestWithParam<MappingCase> {};

TEST_P(HostPathTest, MapsAWindowsTextToAHostPath) {
  EXPECT_EQ(HostPath(GetParam().path, "/drives"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostPathTest,
    testing::Values(
        MappingCase{"C:\\Prtg_Path.Txt", "/drives/c/Prtg_Path.Txt"},
        MappingCase{"c:\\Prtg_Path.Txt", "/drives/c/Prtg_Path.Txt"},
        MappingCase{"D:\\", "/drives/d/"}, MappingCase{"D:", "/drives/d"},
        MappingCase{"Z:\\a b\\c", "/drives/z/a b/c"},
        MappingCase{"D:\\Tools\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\Kestrova.Host",
                    "/drives/d/Tools/PRTG Network Monitor/Custom Sensors/ExeXml/Kestrova.Host"},
        // A drive-relative path has no current directory on POSIX: the drive's root.
        MappingCase{"C:Dir\\File", "/drives/c/Dir/File"},
        // The start directory as POSIX reports it, with the profile appended by "\".
        MappingCase{"/tmp/sensors\\Router.Prf", "/tmp/sensors/Router.Prf"},
        MappingCase{"/tmp/sensors\\\\Router.Prf", "/tmp/sensors//Router.Prf"},
        // Relative names (the table file, a profile in a subdirectory) stay relative.
        MappingCase{"sub\\Router.Xrf", "sub/Router.Xrf"}, MappingCase{"Router.Xrf", "Router.Xrf"},
        MappingCase{"", ""},
        // Only a letter and a colon at the very start make a drive.
        MappingCase{"1:\\x", "1:/x"}, MappingCase{"x\\C:\\y", "x/C:/y"}, MappingCase{":\\x", ":/x"},
        MappingCase{"\\\\server\\share\\x", "//server/share/x"},
        // Everything else is kept: blanks, line feeds, 8-bit characters.
        MappingCase{" C:\\x", " C:/x"}, MappingCase{"C:\\a\nb\\\xe4", "/drives/c/a\nb/\xe4"}));

#ifndef _WIN32
class DrivesRootTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* saved = getenv("KESTROVA_DRIVES");
    had_ = saved != nullptr;
    if (had_) saved_ = saved;
  }
  void TearDown() override {
    if (had_) {
      setenv("KESTROVA_DRIVES", saved_.c_str(), 1);
    } else {
      unsetenv("KESTROVA_DRIVES");
    }
  }

 private:
  bool had_ = false;
  std::string saved_;
};

TEST_F(DrivesRootTest, IsTheEnvironmentVariable) {
  setenv("KESTROVA_DRIVES", "/tmp/somewhere", 1);
  EXPECT_EQ(DrivesRoot(), "/tmp/somewhere");
  EXPECT_EQ(HostPath("C:\\Prtg_Path.Txt", DrivesRoot()), "/tmp/somewhere/c/Prtg_Path.Txt");
}

TEST_F(DrivesRootTest, IsMntWhenUnset) {
  unsetenv("KESTROVA_DRIVES");
  EXPECT_EQ(DrivesRoot(), "/mnt");
  EXPECT_EQ(HostPath("C:\\Prtg_Path.Txt", DrivesRoot()), "/mnt/c/Prtg_Path.Txt");
}

TEST_F(DrivesRootTest, IsMntWhenEmpty) {
  setenv("KESTROVA_DRIVES", "", 1);
  EXPECT_EQ(DrivesRoot(), "/mnt");
}
#endif

}  // namespace
}  // namespace kestrova
