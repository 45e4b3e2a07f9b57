// Large documents on standard output: written in pieces while rows are read, they arrive whole; and
// a reader that went away (the host gave up on the sensor) must not stop the run halfway: the
// library is still released and the table file wiped, and the exit code stays 0.
#include <gtest/gtest.h>

#include <string>

#include "support/sandbox.h"

namespace kestrova_test {
namespace {

class LargeDocumentTest : public testing::Test {
 protected:
  LargeDocumentTest() : program(sandbox.InstallProgram("bin", sandbox.TestLibrary("recording"))) {
    sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
    sandbox.WriteFile("sensors/Router.Prf", "Description: Router\r\n");
    // Enough channels that the document is written out in pieces while rows are still read.
    std::string table;
    for (int port = 1; port <= kPorts; ++port) {
      const std::string number = std::to_string(port);
      table +=
          " L  " + std::string(5 - number.size(), ' ') + number + std::string(33, ' ') + ".\r\n";
    }
    sandbox.WriteFile("table.txt", table);
    sandbox.SetEnvironment("KESTROVA_TEST_TABLE", sandbox.ProgramPath(sandbox.Path("table.txt")));
    sandbox.SetEnvironment("KESTROVA_TEST_RECORD", sandbox.ProgramPath(sandbox.Path("calls.txt")));
  }

  static constexpr int kPorts = 3000;
  Sandbox sandbox;
  std::string program;
};

TEST_F(LargeDocumentTest, ArrivesWholeAndInOrder) {
  const ProcessResult result = sandbox.Run(program, {"Router.Prf", "Slct=All,State"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  const std::string& output = result.standard_output;
  size_t at = 0;
  for (int port = 1; port <= kPorts; ++port) {
    const std::string channel = "<Result><Channel>Port." + std::to_string(port) + "</Channel>\r\n";
    at = output.find(channel, at);
    ASSERT_NE(at, std::string::npos) << channel;
  }
  const std::string end =
      "<Value>3000</Value></Result>\r\n\r\n"
      "<Text>(Snmp) Router: TCP Port(s) / Check for TCP-Ports</Text>\r\n\r\n</Prtg>\r\n\r\n";
  ASSERT_GE(output.size(), end.size());
  EXPECT_EQ(output.compare(output.size() - end.size(), end.size(), end), 0);
}

TEST_F(LargeDocumentTest, AClosedOutputStillLetsTheRunWipeItsTableFileAndExitZero) {
  const ProcessResult result =
      sandbox.RunIntoClosedPipe(program, {"Router.Prf", "Slct=All,State"}, "sensors");

  EXPECT_EQ(result.exit_code, 0) << result.standard_error;
  EXPECT_NE(sandbox.ReadFile("calls.txt").find("Dclos \"Unloading\" \"Morvane.DLL\""),
            std::string::npos);
  EXPECT_FALSE(sandbox.Exists("sensors/Router.Xrf"));
}

}  // namespace
}  // namespace kestrova_test
