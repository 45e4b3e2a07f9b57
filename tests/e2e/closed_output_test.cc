// A reader that went away (the host gave up on the sensor) must not stop the run halfway: the
// library is still released and the table file wiped, and the exit code stays 0.
#include <gtest/gtest.h>

#include <string>

#include "support/sandbox.h"

namespace kestrova_test {
namespace {

TEST(ClosedOutputTest, TheRunStillWipesItsTableFileAndExitsZero) {
  Sandbox sandbox;
  const std::string program = sandbox.InstallProgram("bin", sandbox.TestLibrary("recording"));
  sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
  sandbox.WriteFile("sensors/Router.Prf", "Description: Router\r\n");
  // Enough channels that the document is written out in pieces while rows are still being read.
  std::string table;
  for (int port = 1; port <= 3000; ++port) {
    const std::string number = std::to_string(port);
    table +=
        " L   " + std::string(5 - number.size(), ' ') + number + std::string(33, ' ') + ".\r\n";
  }
  sandbox.WriteFile("table.txt", table);
  sandbox.SetEnvironment("KESTROVA_TEST_TABLE", sandbox.ProgramPath(sandbox.Path("table.txt")));
  sandbox.SetEnvironment("KESTROVA_TEST_RECORD", sandbox.ProgramPath(sandbox.Path("calls.txt")));

  const ProcessResult result =
      sandbox.RunIntoClosedPipe(program, {"Router.Prf", "Slct=All,State"}, "sensors");

  EXPECT_EQ(result.exit_code, 0) << result.standard_error;
  EXPECT_NE(sandbox.ReadFile("calls.txt").find("Dclos \"Unloading\" \"Morvane.DLL\""),
            std::string::npos);
  EXPECT_FALSE(sandbox.Exists("sensors/Router.Xrf"));
}

}  // namespace
}  // namespace kestrova_test
