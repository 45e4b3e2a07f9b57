// The table file's end, with the built program as a process: wiped after a run outside Profiler
// mode, and only after the 1000 ms wait; kept in Profiler mode. The profile names no address, so
// our library's query fails at once; the table file it leaves is what the run must wipe or keep.
#include <gtest/gtest.h>

#include <string>

#include "support/sandbox.h"

namespace kestrova_test {
namespace {

const char kTable[] =
    "Sta Local\r\n"
    " L     22                                 ssh\r\n"
    " E     25                                 smtp, mail\r\n";

const char kDocumentEnd[] =
    "\r\n<Text>(Snmp) Router: TCP Port(s) / Check for TCP-Ports</Text>\r\n\r\n</Prtg>\r\n\r\n";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class TableFileEndTest : public testing::Test {
 protected:
  TableFileEndTest() : program(sandbox.InstallProgram("bin", sandbox.build() + "/Morvane.Dll")) {
    sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
    for (const char* profile : {"sensors/Router.Prf", "sensors/Profiler.Prf"}) {
      sandbox.WriteFile(profile, "Description: Router\r\nCommunity..: public\r\n");
    }
  }

  Sandbox sandbox;
  std::string program;
};

TEST_F(TableFileEndTest, WipedAfterTheWaitOutsideProfilerMode) {
  sandbox.WriteFile("sensors/Router.Xrf", kTable);

  const ProcessResult result = sandbox.Run(program, {"Router.Prf", "Slct=All"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_TRUE(EndsWith(result.standard_output, kDocumentEnd)) << result.standard_output;
  EXPECT_FALSE(sandbox.Exists("sensors/Router.Xrf"));
  EXPECT_GE(result.seconds, 1.0);
}

TEST_F(TableFileEndTest, KeptInProfilerMode) {
  sandbox.WriteFile("sensors/Profiler.Xxx", kTable);

  const ProcessResult result = sandbox.Run(program, {"Profiler.Prf", "Slct=All"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_TRUE(EndsWith(result.standard_output, kDocumentEnd)) << result.standard_output;
  EXPECT_TRUE(sandbox.Exists("sensors/Profiler.Xxx"));
  EXPECT_TRUE(sandbox.Exists("sensors/Profiler.Trc"));
}

}  // namespace
}  // namespace kestrova_test
