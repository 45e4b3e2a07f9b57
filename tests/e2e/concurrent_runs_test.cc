// Runs started together by the monitoring host. Runs for one profile share one table file: they
// take turns, so none wipes the table another run's library has just written. Runs for different
// profiles never wait for each other.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/sandbox.h"

namespace kestrova_test {
namespace {

const char kTable[] =
    " L     22                                 ssh\r\n"
    " L     25                                 smtp, mail\r\n"
    " E    443                                 https\r\n";

struct TimedRun {
  ProcessResult result;
};

class ConcurrentRunsTest : public testing::Test {
 protected:
  ConcurrentRunsTest() : program(sandbox.InstallProgram("bin", sandbox.TestLibrary("recording"))) {
    sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
    sandbox.WriteFile("table.txt", kTable);
    sandbox.SetEnvironment("KESTROVA_TEST_TABLE", sandbox.ProgramPath(sandbox.Path("table.txt")));
    // The library still works after it wrote the table: without turns, another run's wipe after
    // its 1000 ms wait would fall into that time.
    sandbox.SetEnvironment("KESTROVA_TEST_SNMP_DELAY_MS", "300");
    sandbox.SetEnvironment("KESTROVA_TEST_RECORD", sandbox.ProgramPath(sandbox.Path("calls.txt")));
  }

  // The queries and closings of all runs, in the order the library saw them: "SDSD...".
  std::string QueriesAndClosings() const {
    std::string order;
    const std::string calls = sandbox.ReadFile("calls.txt");
    for (size_t line = 0; line < calls.size(); line = calls.find('\n', line) + 1) {
      if (calls.compare(line, 5, "Snmp ") == 0) order += 'S';
      if (calls.compare(line, 6, "Dclos ") == 0) order += 'D';
      if (calls.find('\n', line) == std::string::npos) break;
    }
    return order;
  }

  // Starts one run per profile, `spacing` apart, and waits for all of them.
  std::vector<TimedRun> RunTogether(const std::vector<std::string>& profiles,
                                    std::chrono::milliseconds spacing) {
    std::vector<TimedRun> runs(profiles.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < profiles.size(); ++i) {
      threads.emplace_back([this, &runs, &profiles, i] {
        runs[i].result = sandbox.Run(program, {profiles[i], "Slct=All,State"}, "sensors");
      });
      std::this_thread::sleep_for(spacing);
    }
    for (std::thread& thread : threads) thread.join();
    return runs;
  }

  static void ExpectEveryPort(const TimedRun& run) {
    const std::string& output = run.result.standard_output;
    EXPECT_EQ(run.result.exit_code, 0);
    for (const char* channel :
         {"<Channel>Port.22 / Ssh</Channel>", "<Channel>Port.25 / Smtp</Channel>",
          "<Channel>Port.443 / Https</Channel>", "<Channel>No.of.Tcp-Ports</Channel>"}) {
      EXPECT_NE(output.find(channel), std::string::npos) << channel << " missing in\n" << output;
    }
    EXPECT_NE(output.find("<Value>3</Value>"), std::string::npos) << output;
  }

  Sandbox sandbox;
  std::string program;
};

TEST_F(ConcurrentRunsTest, RunsForOneProfileEachReportEveryPort) {
  sandbox.WriteFile("sensors/Router.Prf", "Description: Router\r\n");
  // Spaced so that, without turns, the first run's wipe meets the last run's query.
  const std::vector<TimedRun> runs =
      RunTogether(std::vector<std::string>(6, "Router.Prf"), std::chrono::milliseconds(250));
  for (const TimedRun& run : runs) ExpectEveryPort(run);
  EXPECT_EQ(QueriesAndClosings(), "SDSDSDSDSDSD");
  EXPECT_FALSE(sandbox.Exists("sensors/Router.Xrf"));
}

TEST_F(ConcurrentRunsTest, RunsForDifferentProfilesNeverWaitForEachOther) {
  const std::vector<std::string> profiles = {"A.Prf", "B.Prf", "C.Prf", "D.Prf"};
  for (const std::string& profile : profiles) {
    sandbox.WriteFile("sensors/" + profile, "Description: Router\r\n");
  }
  // Long enough that every run has started its query before the first one closes, also when wine
  // takes seconds to start a program on a busy machine.
  sandbox.SetEnvironment("KESTROVA_TEST_SNMP_DELAY_MS", "5000");
  const std::vector<TimedRun> runs = RunTogether(profiles, std::chrono::milliseconds(0));
  for (const TimedRun& run : runs) ExpectEveryPort(run);
  // No run waited for another: all four queries ran before the first closing.
  EXPECT_EQ(QueriesAndClosings(), "SSSSDDDD");
  for (const char* table : {"sensors/A.Xrf", "sensors/B.Xrf", "sensors/C.Xrf", "sensors/D.Xrf"}) {
    EXPECT_FALSE(sandbox.Exists(table)) << table;
  }
}

}  // namespace
}  // namespace kestrova_test
