// Every way the SNMP library can fail a run, with the built program as a process and a test library
// installed beside it as Morvane.Dll: standard output byte for byte, the trace log of the Profiler
// run, and the calls the library received.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/sandbox.h"

namespace kestrova_test {
namespace {

const char kProfile[] =
    "IP-Addr....: 192.0.2.7\r\nAlias......: Core\r\nDescription: Router\r\n"
    "Community..: public\r\nSysnr......: 7\r\n";

// What a normal Snmp of a test library copies into the table file.
const std::string kTable = "* Test table\r\nSta Local Address\r\n-----\r\n L     25" +
                           std::string(33, ' ') + "smtp, mail\r\n";

std::string ErrorDocument(const std::string& text) {
  return "<Prtg>\r\n\r\n<Error>1</Error>\r\n<Text>" + text + "</Text>\r\n\r\n</Prtg>\r\n";
}

const std::string kOpen = "\r\n<Prtg>\r\n";
const std::string kFailedQuery =
    "<Error>1</Error>\r\n<Text>Error 2002: Invalid Snmp-Request</Text>\r\n\r\n";
const std::string kChannel =
    "\r\n<Result><Channel>Port.25 / Smtp</Channel>\r\n<Unit>Custom</Unit>\r\n"
    "<CustomUnit>State</CustomUnit>\r\n<Value>L</Value></Result>\r\n";
const std::string kClose =
    "\r\n<Text>(Snmp) Router: TCP Port(s) / Check for TCP-Ports</Text>\r\n\r\n</Prtg>\r\n\r\n";

const std::string kNormalOutput = kOpen + kChannel + kClose;

const char kDopen[] = "Dopen \"Loading\" \"Morvane.DLL\"\n";
const char kSnmp[] = "Snmp \"192.0.2.7\" \"public\" \"Kestrova\" \"10\" \"Profiler.Xxx\"\n";
const char kDclos[] = "Dclos \"Unloading\" \"Morvane.DLL\"\n";
const std::string kAllCalls = std::string(kDopen) + kSnmp + kDclos;

// Trace lines 6 to 12 of a normal run; the run time is written as "*".
std::vector<std::string> NormalTrace(const std::string& version, const std::string& status) {
  return {"Snmp Dll-Version: " + version,
          "Snmp Processing: Kestrova...",
          "Snmp " + status,
          "Snmp RunTime: * mSec",
          "Snmp Test table",
          "Snmp 1 Entries found...",
          "Snmp Ending Connection"};
}

// Of a run whose query failed: lines 8 and 9 missing.
std::vector<std::string> FailedQueryTrace(const char* entries) {
  return {"Snmp Dll-Version: Test library 1.0", "Snmp Processing: Kestrova...", entries,
          "Snmp Ending Connection"};
}

struct LibraryCase {
  const char* name;
  const char* library;  // a test library, "" for none, "-" for a file that is not a library
  const char* only_on;  // "windows", "posix", or null for every target
  std::string output;
  std::vector<std::string> trace_from_line_6;
  std::string calls;
};

void PrintTo(const LibraryCase& library_case, std::ostream* out) { *out << library_case.name; }

const LibraryCase kCases[] = {
    // The library cannot be loaded: line 5 is the last trace line.
    {"Missing", "", nullptr, ErrorDocument("Error 2000: Snmp-Library not found"), {}, ""},
    {"NotALibrary", "-", nullptr, ErrorDocument("Error 2000: Snmp-Library not found"), {}, ""},
    {"FaultsWhileLoading",
     "load_faults",
     nullptr,
     ErrorDocument("Error 2000: Snmp-Library not found"),
     {},
     ""},
    // Dopen fails: no Dclos, no further trace line.
    {"DopenRaises",
     "dopen_raises",
     nullptr,
     ErrorDocument("Error 2001: Invalid Handle - Snmp"),
     {},
     kDopen},
    {"DopenFaults",
     "dopen_faults",
     nullptr,
     ErrorDocument("Error 2001: Invalid Handle - Snmp"),
     {},
     kDopen},
    {"DopenResultUnreadable",
     "dopen_bad_result",
     nullptr,
     ErrorDocument("Error 2001: Invalid Handle - Snmp"),
     {},
     kDopen},
    // No Snmp: the version is traced, nothing is called after Dopen.
    {"NoSnmp",
     "no_snmp",
     nullptr,
     ErrorDocument("Error 2002: Invalid Snmp-Handle"),
     {"Snmp Dll-Version: Test library 1.0"},
     kDopen},
    // Runs that go on.
    {"Normal", "recording", nullptr, kNormalOutput, NormalTrace("Test library 1.0", "Query ok"),
     kAllCalls},
    {"NoDopen", "no_dopen", nullptr, kNormalOutput, NormalTrace("Dopen", "Query ok"),
     std::string(kSnmp) + kDclos},
    {"DopenNull", "dopen_null", nullptr, kNormalOutput, NormalTrace("", "Query ok"), kAllCalls},
    {"SnmpNull", "snmp_null", nullptr, kNormalOutput, NormalTrace("Test library 1.0", ""),
     kAllCalls},
    {"SnmpHandlesItsOwnFailures", "snmp_handles_inside", nullptr, kNormalOutput,
     NormalTrace("Test library 1.0", "Query ok"), kAllCalls},
    {"SnmpRaisesInformational", "snmp_informational", "windows", kNormalOutput,
     NormalTrace("Test library 1.0", "Query ok"), kAllCalls},
    {"NoDclos", "no_dclos", nullptr, kNormalOutput, NormalTrace("Test library 1.0", "Query ok"),
     std::string(kDopen) + kSnmp},
    {"DclosRaises", "dclos_raises", nullptr, kNormalOutput,
     NormalTrace("Test library 1.0", "Query ok"), kAllCalls},
    {"DclosFaults", "dclos_faults", nullptr, kNormalOutput,
     NormalTrace("Test library 1.0", "Query ok"), kAllCalls},
    // A failed query: reported inside the document, which is completed from whatever table file
    // there is; the library is still closed.
    {"SnmpRaises", "snmp_raises", nullptr, kOpen + kFailedQuery + kClose,
     FailedQueryTrace("Snmp 0 Entries found..."), kAllCalls},
    {"SnmpFaults", "snmp_faults", nullptr, kOpen + kFailedQuery + kClose,
     FailedQueryTrace("Snmp 0 Entries found..."), kAllCalls},
    {"SnmpAborts", "snmp_aborts", "posix", kOpen + kFailedQuery + kClose,
     FailedQueryTrace("Snmp 0 Entries found..."), kAllCalls},
    {"SnmpResultUnreadable",
     "snmp_bad_result",
     nullptr,
     kOpen + kFailedQuery + kChannel + kClose,
     {"Snmp Dll-Version: Test library 1.0", "Snmp Processing: Kestrova...", "Snmp Test table",
      "Snmp 1 Entries found...", "Snmp Ending Connection"},
     kAllCalls},
};

// The trace lines without their time stamps, the run time as "*"; a line that does not start with
// "hh:mm:ss " or does not end with CR LF shows up marked.
std::vector<std::string> TraceTexts(const std::string& trace) {
  static const std::regex kLine("^[0-2][0-9]:[0-5][0-9]:[0-5][0-9] (.*)$");
  static const std::regex kRunTime("^Snmp RunTime: (0|[1-9][0-9]*) mSec$");
  std::vector<std::string> texts;
  size_t begin = 0;
  while (begin < trace.size()) {
    const size_t end = trace.find("\r\n", begin);
    if (end == std::string::npos) {
      texts.push_back("(no CR LF) " + trace.substr(begin));
      break;
    }
    const std::string line = trace.substr(begin, end - begin);
    std::smatch match;
    std::string text = std::regex_match(line, match, kLine) ? match[1].str() : "(no time) " + line;
    texts.push_back(std::regex_match(text, kRunTime) ? "Snmp RunTime: * mSec" : text);
    begin = end + 2;
  }
  return texts;
}

class LibraryRunTest : public testing::TestWithParam<LibraryCase> {};

TEST_P(LibraryRunTest, OutputTraceAndCallsInProfilerMode) {
  const LibraryCase& c = GetParam();
  Sandbox sandbox;
  if (c.only_on && (std::string(c.only_on) == "windows") != sandbox.windows()) {
    GTEST_SKIP() << "only on " << c.only_on;
  }
  std::string library;
  if (std::string(c.library) == "-") {
    sandbox.WriteFile("not-a-library", "MZ but not a library\r\n");
    library = sandbox.Path("not-a-library");
  } else if (*c.library) {
    library = sandbox.TestLibrary(c.library);
  }
  const std::string program = sandbox.InstallProgram("bin", library);
  sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
  sandbox.WriteFile("sensors/Profiler.Prf", kProfile);
  sandbox.WriteFile("table.txt", kTable);
  sandbox.SetEnvironment("KESTROVA_TEST_TABLE", sandbox.ProgramPath(sandbox.Path("table.txt")));
  sandbox.SetEnvironment("KESTROVA_TEST_RECORD", sandbox.ProgramPath(sandbox.Path("calls.txt")));

  const ProcessResult result = sandbox.Run(program, {"Profiler.Prf", "Slct=All"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output, c.output);
  std::vector<std::string> trace = {"Snmp Kestrova Ver 1.3 / 26.01.22",
                                    "Snmp IP=192.0.2.7, Alias=Core.N7", "Snmp Params: Slct=All",
                                    "Snmp Path: " + sandbox.ProgramPath(sandbox.Path("sensors")),
                                    "Snmp Starting Connection..."};
  trace.insert(trace.end(), c.trace_from_line_6.begin(), c.trace_from_line_6.end());
  EXPECT_EQ(TraceTexts(sandbox.ReadFile("sensors/Profiler.Trc")), trace);
  EXPECT_EQ(sandbox.ReadFile("calls.txt"), c.calls);
}

INSTANTIATE_TEST_SUITE_P(Libraries, LibraryRunTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<LibraryCase>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace kestrova_test
