#include "run/run_sequence.h"

#include <gtest/gtest.h>

#include "platform/memory_platform.h"

namespace kestrova {
namespace {

TEST(TableFileNameTest, FollowsTheFirstArgument) {
  const struct {
    const char* argument;
    const char* table_file;
  } cases[] = {
      {"Router.Prf", "Router.Xrf"},
      {"Profiler.Prf", "Profiler.Xxx"},
      {"Profiler.Prf2", "Profiler.Xxx"},
      {"ProfilerX", "Profi.XrX"},
      {"abcd", ".Xcd"},
      {"abc", ".Xbc"},
      {"a", ".Xa"},
      {"", ".X"},
      {"sub\\Router.Prf", "sub\\Router.Xrf"},
  };
  for (const auto& c : cases) EXPECT_EQ(TableFileNameFor(c.argument), c.table_file) << c.argument;
}

class RunSequenceTest : public testing::Test {
 protected:
  MemoryPlatform platform;
};

TEST_F(RunSequenceTest, StartUpFillsTheFixedValues) {
  platform.current_directory = "C:\\Start";
  RunContext context(&platform, {"Router.Prf"});
  EXPECT_EQ(RunSensor(context), 0);
  EXPECT_EQ(context.start_directory, "C:\\Start");
  EXPECT_EQ(context.table_file, "Router.Xrf");
  EXPECT_EQ(context.library_base_name, "Morvane");
  EXPECT_EQ(context.program_name, "Kestrova");
  EXPECT_EQ(context.version, "1.3");
  EXPECT_EQ(context.version_date, "26.01.22");
}

TEST_F(RunSequenceTest, StartDirectoryMarkerDecidesTheHostFlavour) {
  const struct {
    const char* marker;  // null: no marker file
    HostFlavour flavour;
    bool set_up;
  } cases[] = {
      {nullptr, HostFlavour::kXml, false},
      {"", HostFlavour::kXml, true},
      {"Statistic\r\n", HostFlavour::kStatistic, true},
      {"CONTEXT", HostFlavour::kContext, true},
      {"  xml  \r\nContext", HostFlavour::kXml, true},
      {"Prtg", HostFlavour::kXml, false},
  };
  for (const auto& c : cases) {
    MemoryPlatform platform;
    platform.current_directory = "C:\\Start";
    if (c.marker) platform.files["C:\\Start\\Kestrova.Host"] = c.marker;
    RunContext context(&platform, {"Router.Prf"});
    RunSensor(context);
    EXPECT_EQ(context.host_flavour, c.flavour) << (c.marker ? c.marker : "(none)");
    EXPECT_EQ(context.start_directory_set_up, c.set_up) << (c.marker ? c.marker : "(none)");
  }
}

}  // namespace
}  // namespace kestrova
