// The trace log between two Profiler runs on one sensor directory: while the first writes its log,
// the second cannot create it, prints the one failure line and ends; the first run's log is intact.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "support/sandbox.h"

namespace kestrova_test {
namespace {

TEST(TraceLogTest, ASecondProfilerRunCannotTakeTheTraceFileOfTheFirst) {
  Sandbox sandbox;
  const std::string program = sandbox.InstallProgram("bin", sandbox.TestLibrary("recording"));
  sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
  sandbox.WriteFile("sensors/Profiler.Prf", "Description: Router\r\n");
  sandbox.WriteFile("table.txt", " L     22                                 ssh\r\n");
  sandbox.SetEnvironment("KESTROVA_TEST_TABLE", sandbox.ProgramPath(sandbox.Path("table.txt")));
  // The first run holds its trace file open while its query takes this long.
  sandbox.SetEnvironment("KESTROVA_TEST_SNMP_DELAY_MS", "4000");

  ProcessResult first;
  std::thread first_run([&] {
    first = sandbox.Run(program, {"Profiler.Prf", "Slct=All"}, "sensors");
  });
  // Long enough for the first run to be in its query, well before that ends.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const ProcessResult second = sandbox.Run(program, {"Profiler.Prf", "Slct=All"}, "sensors");
  first_run.join();

  EXPECT_EQ(second.exit_code, 0);
  EXPECT_EQ(second.standard_output, "* Trace-File failed...\r\n");
  EXPECT_GE(second.seconds, 1.0);  // the failure line is followed by its wait
  EXPECT_EQ(first.exit_code, 0);
  EXPECT_NE(first.standard_output.find("<Channel>Port.22 / Ssh</Channel>"), std::string::npos)
      << first.standard_output;
  const std::string trace = sandbox.ReadFile("sensors/Profiler.Trc");
  EXPECT_NE(trace.find(" Snmp Kestrova Ver 1.3 / 26.01.22\r\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find(" Snmp Ending Connection\r\n"), std::string::npos) << trace;
}

}  // namespace
}  // namespace kestrova_test
