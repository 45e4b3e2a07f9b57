#include "run/run_sequence.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/memory_platform.h"
#include "snmp/morvane_exports.h"

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

// The lock for the table file while the library queries: a test function can only reach it this
// way.
const std::set<std::string>* locks_seen_by_query = nullptr;
std::set<std::string> locked_during_query;

const char* MORVANE_CALL QueryNotingLocks(MORVANE_QUERY_PARAMETERS(const char*, const char*,
                                                                   const char*, const char*,
                                                                   const char*)) {
  locked_during_query = *locks_seen_by_query;
  return "Query ok";
}

class TableLockTest : public testing::Test {
 protected:
  TableLockTest() {
    platform.current_directory = "C:\\Sensors";
    platform.files["C:\\Sensors\\Kestrova.Host"] = "Xml";
    platform.files["C:\\Sensors\\Router.Prf"] = "IP-Addr....: 192.0.2.1\r\n";
    platform.files["Router.Xrf"] = " L     22                                 ssh\r\n";
    platform.libraries["Morvane.Dll"].exports["Snmp"] = reinterpret_cast<void*>(QueryNotingLocks);
    locks_seen_by_query = &platform.locked;
    locked_during_query.clear();
  }
  ~TableLockTest() override { locks_seen_by_query = nullptr; }

  std::string Run(std::vector<std::string> arguments) {
    RunContext context(&platform, std::move(arguments));
    RunSensor(context);
    return platform.standard_output;
  }

  MemoryPlatform platform;
};

TEST_F(TableLockTest, HeldFromTheQueryToTheWipeAndNamedAfterTheTableFile) {
  const std::string output = Run({"Router.Prf", "Slct=All"});
  EXPECT_EQ(locked_during_query, std::set<std::string>{"C:\\SENSORS\\ROUTER.XRF"});
  EXPECT_TRUE(platform.locked.empty());
  const std::vector<std::pair<std::string, uint32_t>> requests = {
      {"C:\\SENSORS\\ROUTER.XRF", 10000}};
  EXPECT_EQ(platform.lock_requests, requests);
  EXPECT_NE(output.find("<Channel>Port.22 / Ssh</Channel>"), std::string::npos) << output;
  EXPECT_EQ(platform.files.count("Router.Xrf"), 0u);
}

TEST_F(TableLockTest, AnAbsoluteTableFileNamesItsOwnLock) {
  platform.files["C:\\Sensors\\D:\\Dev\\Router.Prf"] = "";
  Run({"D:\\Dev\\Router.Prf"});
  ASSERT_EQ(platform.lock_requests.size(), 1u);
  EXPECT_EQ(platform.lock_requests[0].first, "D:\\DEV\\ROUTER.XRF");
}

TEST_F(TableLockTest, ARunThatCannotHaveTheLockGoesOnAsBefore) {
  platform.busy.insert("C:\\SENSORS\\ROUTER.XRF");
  const std::string output = Run({"Router.Prf", "Slct=All"});
  EXPECT_TRUE(locked_during_query.empty());
  EXPECT_NE(output.find("<Channel>Port.22 / Ssh</Channel>"), std::string::npos) << output;
  EXPECT_EQ(platform.files.count("Router.Xrf"), 0u);
}

TEST_F(TableLockTest, NoLockAtAnEarlyEnd) {
  platform.libraries.clear();
  Run({"Router.Prf"});
  EXPECT_TRUE(platform.lock_requests.empty());
}

}  // namespace
}  // namespace kestrova
