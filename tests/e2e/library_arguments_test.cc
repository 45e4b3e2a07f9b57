// What the exports of the SNMP library receive, recorded by the test library: every text as given,
// an empty community as an empty text, never a null address.
#include <gtest/gtest.h>

#include <string>

#include "support/sandbox.h"

namespace kestrova_test {
namespace {

struct ArgumentsCase {
  const char* name;
  const char* profile;
  const char* calls;
};

void PrintTo(const ArgumentsCase& arguments, std::ostream* out) { *out << arguments.name; }

class LibraryArgumentsTest : public testing::TestWithParam<ArgumentsCase> {};

TEST_P(LibraryArgumentsTest, EachExportReceivesItsTexts) {
  Sandbox sandbox;
  const std::string program = sandbox.InstallProgram("bin", sandbox.TestLibrary("recording"));
  sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
  sandbox.WriteFile("sensors/Router.Prf", GetParam().profile);
  sandbox.WriteFile("table.txt", " L     22" + std::string(33, ' ') + "ssh\r\n");
  sandbox.SetEnvironment("KESTROVA_TEST_TABLE", sandbox.ProgramPath(sandbox.Path("table.txt")));
  sandbox.SetEnvironment("KESTROVA_TEST_RECORD", sandbox.ProgramPath(sandbox.Path("calls.txt")));

  const ProcessResult result = sandbox.Run(program, {"Router.Prf", "Slct=All"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(sandbox.ReadFile("calls.txt"), GetParam().calls);
  EXPECT_NE(result.standard_output.find("<Result><Channel>Port.22 / Ssh</Channel>"),
            std::string::npos)
      << result.standard_output;
  // Outside Profiler mode the table file the library wrote is gone after the run.
  EXPECT_FALSE(sandbox.Exists("sensors/Router.Xrf"));
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, LibraryArgumentsTest,
    testing::Values(
        ArgumentsCase{"Community", "IP-Addr....: 192.0.2.7:1161\r\nCommunity..: pub lic \r\n",
                      "Dopen \"Loading\" \"Morvane.DLL\"\n"
                      "Snmp \"192.0.2.7:1161\" \"pub lic \" \"Kestrova\" \"10\" \"Router.Xrf\"\n"
                      "Dclos \"Unloading\" \"Morvane.DLL\"\n"},
        ArgumentsCase{"NoCommunityNorAddress", "Description: Router\r\n",
                      "Dopen \"Loading\" \"Morvane.DLL\"\n"
                      "Snmp \"\" \"\" \"Kestrova\" \"10\" \"Router.Xrf\"\n"
                      "Dclos \"Unloading\" \"Morvane.DLL\"\n"}),
    [](const testing::TestParamInfo<ArgumentsCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kestrova_test
