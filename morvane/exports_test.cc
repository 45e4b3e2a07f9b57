// The built library loaded as the program loads it, called through its exports.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "snmp/morvane_exports.h"
#include "support/snmp_agent.h"
#include "support/temporary_directory.h"
#include "test_table_file.h"

namespace morvane {
namespace {

using kestrova_test::SnmpAgent;
using kestrova_test::TemporaryDirectory;

class ExportsTest : public testing::Test {
 protected:
  void SetUp() override {
    library_ = dlopen(MORVANE_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
    open_ = reinterpret_cast<MorvaneOpen>(dlsym(library_, "Dopen"));
    query_ = reinterpret_cast<MorvaneQuery>(dlsym(library_, "Snmp"));
    close_ = reinterpret_cast<MorvaneClose>(dlsym(library_, "Dclos"));
    ASSERT_TRUE(open_ && query_ && close_);
  }
  void TearDown() override {
    if (library_) dlclose(library_);
  }

  const char* Query(const char* address, const char* community, const char* budget,
                    const char* table_file) {
    return query_(MORVANE_QUERY_PARAMETERS(address, community, "Kestrova", budget, table_file));
  }

  void* library_ = nullptr;
  MorvaneOpen open_ = nullptr;
  MorvaneQuery query_ = nullptr;
  MorvaneClose close_ = nullptr;
  TemporaryDirectory directory_;
};

TEST_F(ExportsTest, OpenAndCloseGiveTheVersionAndAnEmptyText) {
  EXPECT_STREQ(open_("Loading", "Morvane.DLL"), "Morvane 1.0 SNMPv2c/v1");
  EXPECT_STREQ(close_("Unloading", "Morvane.DLL"), "");
}

TEST_F(ExportsTest, AQueryWritesTheTableFileUnderTheMappedDriveAndSaysWhatItFound) {
  SnmpAgent agent("public", false);
  ASSERT_TRUE(agent.running()) << agent.failure();
  std::filesystem::create_directories(directory_.path / "c" / "sensor");
  setenv("KESTROVA_DRIVES", directory_.path.c_str(), 1);
  const std::string address = agent.Ipv4Address();
  const std::string status = Query(address.c_str(), "public", "x", "C:\\sensor\\Router.Xrf");
  unsetenv("KESTROVA_DRIVES");
  const TableFile table = ReadTableFile(directory_.path / "c" / "sensor" / "Router.Xrf");
  ASSERT_TRUE(table.exists);
  EXPECT_FALSE(table.rows.empty());
  EXPECT_EQ(status.rfind("Query ok: " + std::to_string(table.rows.size()) + " rows in ", 0), 0u)
      << status;
}

TEST_F(ExportsTest, AFailedQueryWritesItsReasonAndThrows) {
  const std::string table_file = (directory_.path / "Router.Xrf").string();
  try {
    Query("", "public", "10", table_file.c_str());
    ADD_FAILURE() << "no failure raised";
  } catch (const std::runtime_error& failure) {
    EXPECT_STREQ(failure.what(), "Query failed: no valid device address");
  }
  const TableFile table = ReadTableFile(table_file);
  EXPECT_TRUE(table.rows.empty());
  ASSERT_EQ(table.notes.size(), 1u);
  EXPECT_EQ(table.notes[0], "Query of \"\" failed: no valid device address");
}

}  // namespace
}  // namespace morvane
