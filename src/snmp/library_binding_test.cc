#include "snmp/library_binding.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "output/result_writer.h"
#include "platform/memory_platform.h"
#include "snmp/morvane_exports.h"

namespace kestrova {
namespace {

const char* MORVANE_CALL OpenNormally(const char*, const char*) { return "Fake 2.0"; }
const char* MORVANE_CALL OpenNull(const char*, const char*) { return nullptr; }
const char* MORVANE_CALL OpenFails(const char*, const char*) { throw std::runtime_error("Dopen"); }
const char* MORVANE_CALL QueryNormally(MORVANE_QUERY_PARAMETERS(const char*, const char*,
                                                                const char*, const char*,
                                                                const char*)) {
  return "Query ok";
}
const char* MORVANE_CALL QueryFails(MORVANE_QUERY_PARAMETERS(const char*, const char*, const char*,
                                                             const char*, const char*)) {
  throw std::runtime_error("Snmp");
}
const char* MORVANE_CALL CloseFails(const char*, const char*) { throw std::runtime_error("Dclos"); }

void* Export(MorvaneOpen entry) { return reinterpret_cast<void*>(entry); }
void* Export(MorvaneQuery entry) { return reinterpret_cast<void*>(entry); }

class LibraryBindingTest : public testing::Test {
 protected:
  LibraryBindingTest() : context(&platform, {"Router.Prf"}) {
    context.library_base_name = "Morvane";
    context.program_name = "Kestrova";
    context.table_file = "Router.Xrf";
    context.trace_file = platform.CreateWithReadSharing("Trace");
    context.trace_open = true;
    library.exports["Dopen"] = Export(OpenNormally);
    library.exports["Snmp"] = Export(QueryNormally);
    library.exports["Dclos"] = Export(OpenNormally);
  }

  // Binds `library` as Morvane.Dll and, when that succeeds, opens the document and queries.
  bool BindAndQuery() {
    platform.libraries["Morvane.Dll"] = library;
    if (!BindSnmpLibrary(context)) return false;
    OpenDocument(context);
    RunSnmpQuery(context);
    return true;
  }

  const std::string& Trace() { return platform.files["Trace"]; }

  MemoryPlatform platform;
  RunContext context;
  MemoryPlatform::Library library;
};

TEST_F(LibraryBindingTest, RunTimeSurvivesAWrapOfTheTickCounter) {
  platform.ticks = {4294967296u - 296u, 200u};
  ASSERT_TRUE(BindAndQuery());
  EXPECT_EQ(context.start_tick, 4294967000u);
  EXPECT_EQ(context.end_tick, 200u);
  EXPECT_EQ(context.run_time, 496u);
  EXPECT_NE(Trace().find("12:00:00 Snmp Query ok\r\n12:00:00 Snmp RunTime: 496 mSec\r\n"),
            std::string::npos)
      << Trace();
}

TEST_F(LibraryBindingTest, TracesTheVersionThatDopenReturns) {
  const struct {
    const char* name;
    void* entry;
    const char* line;
  } cases[] = {
      {"normal", Export(OpenNormally), "12:00:00 Snmp Dll-Version: Fake 2.0\r\n"},
      {"null", Export(OpenNull), "12:00:00 Snmp Dll-Version: \r\n"},
      {"absent", nullptr, "12:00:00 Snmp Dll-Version: Dopen\r\n"},
  };
  for (const auto& c : cases) {
    MemoryPlatform platform;
    RunContext context(&platform, {});
    context.library_base_name = "Morvane";
    context.trace_file = platform.CreateWithReadSharing("Trace");
    context.trace_open = true;
    MemoryPlatform::Library library;
    if (c.entry) library.exports["Dopen"] = c.entry;
    library.exports["Snmp"] = Export(QueryNormally);
    platform.libraries["Morvane.Dll"] = library;
    EXPECT_TRUE(BindSnmpLibrary(context)) << c.name;
    EXPECT_EQ(platform.files["Trace"], c.line) << c.name;
    EXPECT_EQ(platform.standard_output, "") << c.name;
  }
}

TEST_F(LibraryBindingTest, BindingErrorsEndTheRunWithTheLibraryStillLoaded) {
  const struct {
    const char* name;
    const char* missing;  // export left out
    void* open;           // Dopen instead of the normal one
    const char* error;
    bool loaded;
  } cases[] = {
      {"no library", nullptr, nullptr, "Error 2000: Snmp-Library not found", false},
      {"Dopen fails", nullptr, Export(OpenFails), "Error 2001: Invalid Handle - Snmp", true},
      {"no Snmp", "Snmp", nullptr, "Error 2002: Invalid Snmp-Handle", true},
  };
  for (const auto& c : cases) {
    MemoryPlatform platform;
    platform.current_directory = "C:\\Work";
    RunContext context(&platform, {});
    context.library_base_name = "Morvane";
    context.host_flavour = HostFlavour::kStatistic;
    MemoryPlatform::Library library;
    library.exports["Dopen"] = c.open ? c.open : Export(OpenNormally);
    library.exports["Snmp"] = Export(QueryNormally);
    if (c.missing) library.exports.erase(c.missing);
    if (c.loaded) platform.libraries["Morvane.Dll"] = library;

    EXPECT_FALSE(BindSnmpLibrary(context)) << c.name;
    EXPECT_EQ(platform.standard_output, std::string(c.error) + "\r\n") << c.name;
    EXPECT_EQ(platform.loaded.size(), c.loaded ? 1u : 0u) << c.name;
    EXPECT_TRUE(platform.unloaded.empty()) << c.name;
  }
}

TEST_F(LibraryBindingTest, FailedQueryIsReportedByFlavourAndCheckOption) {
  const struct {
    HostFlavour flavour;
    const char* parameter_line;
    const char* output;
  } cases[] = {
      {HostFlavour::kXml, "Router.Prf",
       "\r\n<Prtg>\r\n<Error>1</Error>\r\n<Text>Error 2002: Invalid Snmp-Request</Text>\r\n\r\n"},
      // A second document inside the open one would not be XML.
      {HostFlavour::kXml, "Router.Prf /Check",
       "\r\n<Prtg>\r\n<Error>1</Error>\r\n<Text>Error 2002: Invalid Snmp-Request</Text>\r\n\r\n"},
      {HostFlavour::kStatistic, "Router.Prf", "# Error: Error 2002: Invalid Snmp-Request\r\n"},
      {HostFlavour::kStatistic, "Router.Prf /Checked", "Error 2002: Invalid Snmp-Request\r\n"},
      {HostFlavour::kContext, "Router.Prf /check", "# Error: Error 2002: Invalid Snmp-Request\r\n"},
      {HostFlavour::kContext, "Router.Prf /Check", "Error 2002: Invalid Snmp-Request\r\n"},
  };
  library.exports["Snmp"] = Export(QueryFails);
  for (const auto& c : cases) {
    platform.standard_output.clear();
    platform.files["Trace"].clear();
    context.host_flavour = c.flavour;
    context.parameter_line = c.parameter_line;
    ASSERT_TRUE(BindAndQuery());
    EXPECT_EQ(platform.standard_output, c.output) << c.parameter_line;
    EXPECT_EQ(Trace(),
              "12:00:00 Snmp Dll-Version: Fake 2.0\r\n12:00:00 Snmp Processing: Kestrova...\r\n")
        << c.parameter_line;
    ReleaseSnmpLibrary(context);
  }
}

TEST_F(LibraryBindingTest, ReleaseUnloadsWhateverDclosDoes) {
  const struct {
    const char* name;
    void* close;  // null: no Dclos
  } cases[] = {
      {"normal", Export(OpenNormally)}, {"fails", Export(CloseFails)}, {"absent", nullptr}};
  for (const auto& c : cases) {
    platform.standard_output.clear();
    platform.unloaded.clear();
    library.exports.erase("Dclos");
    if (c.close) library.exports["Dclos"] = c.close;
    ASSERT_TRUE(BindAndQuery());
    const std::string trace = Trace();
    const std::string output = platform.standard_output;

    ReleaseSnmpLibrary(context);

    EXPECT_EQ(platform.unloaded, std::vector<std::string>{"Morvane.Dll"}) << c.name;
    EXPECT_TRUE(platform.loaded.empty()) << c.name;
    EXPECT_EQ(platform.standard_output, output) << c.name;
    EXPECT_EQ(Trace(), trace) << c.name;
  }
}

}  // namespace
}  // namespace kestrova
