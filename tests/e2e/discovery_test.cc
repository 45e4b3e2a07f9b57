// Sensor directory discovery, the device profile and Profiler mode, with the built program as a
// process: on Linux with KESTROVA_DRIVES in the sandbox, under wine with C:\Prtg_Path.Txt in the
// prefix's drive_c. No SNMP library lies beside the installed program, so a run that gets past
// ReadOptions ends with the Error 2000 document after trace line 5.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/sandbox.h"

namespace fs = std::filesystem;

namespace kestrova_test {
namespace {

const char* const kSubPaths[] = {
    "PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Custom Sensors\\ExeXml",
    "Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Programme (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
};

std::string ErrorDocument(const std::string& text) {
  return "<Prtg>\r\n\r\n<Error>1</Error>\r\n<Text>" + text + "</Text>\r\n\r\n</Prtg>\r\n";
}

const std::string kNoLibrary = ErrorDocument("Error 2000: Snmp-Library not found");

std::string HostForm(std::string windows_text) {
  for (char& c : windows_text) {
    if (c == '\\') c = '/';
  }
  return windows_text;
}

// The trace lines without their time stamps; a line that does not start with "hh:mm:ss " or does
// not end with CR LF shows up marked.
std::vector<std::string> TraceTexts(const std::string& trace) {
  static const std::regex kLine("^[0-2][0-9]:[0-5][0-9]:[0-5][0-9] (.*)$");
  std::vector<std::string> texts;
  size_t begin = 0;
  while (begin < trace.size()) {
    size_t end = trace.find("\r\n", begin);
    if (end == std::string::npos) {
      texts.push_back("(no CR LF) " + trace.substr(begin));
      break;
    }
    const std::string line = trace.substr(begin, end - begin);
    std::smatch match;
    texts.push_back(std::regex_match(line, match, kLine) ? match[1].str() : "(no time) " + line);
    begin = end + 2;
  }
  return texts;
}

class DiscoveryTest : public testing::Test {
 protected:
  DiscoveryTest() : program(sandbox.InstallProgram("bin")) {}

  // The installation root as the path file names it, and the candidates below it.
  std::string Root() const { return "C:\\" + sandbox.Name() + "\\Inst"; }
  std::string Candidate(int order) const { return Root() + "\\" + kSubPaths[order - 1]; }
  // The host directory behind a "C:\..." text.
  std::string Host(const std::string& windows_text) const {
    return sandbox.DriveDirectory('c') + HostForm(windows_text.substr(2));
  }
  void MarkSetUp(const std::string& host_directory, const std::string& marker = "Xml\r\n") const {
    sandbox.WriteFile(host_directory + "/Kestrova.Host", marker);
  }
  // The sandbox directory `relative` as the program reports it: "/tmp/..." or "Z:\tmp\...".
  std::string Reported(const std::string& relative) const {
    return sandbox.ProgramPath(sandbox.Path(relative));
  }
  // A file that exists but fails on reading (EIO): /proc/self/mem is read from address 0.
  void MakeUnreadable(const std::string& host_path) const {
    fs::create_directories(fs::path(host_path).parent_path());
    fs::remove(host_path);
    fs::create_symlink("/proc/self/mem", host_path);
  }
  std::string PathFileHost() const { return sandbox.DriveDirectory('c') + "/Prtg_Path.Txt"; }

  ProcessResult Run(const std::vector<std::string>& arguments, const std::string& relative) {
    return sandbox.Run(program, arguments, relative);
  }

  Sandbox sandbox;
  std::string program;
};

// ---- The start directory ----

TEST_F(DiscoveryTest, StartDirectorySetUpIsTheSensorDirectoryWhateverThePathFileSays) {
  const std::string profile = "IP-Addr....: 127.0.0.1\r\n";
  MarkSetUp(sandbox.Path("sensors"));
  sandbox.WriteFile("sensors/Profiler.Prf", profile);
  // An installation the path file leads to, which must not be used.
  MarkSetUp(Host(Candidate(1)));
  sandbox.WriteFile(Host(Candidate(1)) + "/Profiler.Prf", profile);

  enum class PathFile { kValid, kMissing, kDirectory, kUnreadable };
  for (PathFile state :
       {PathFile::kValid, PathFile::kMissing, PathFile::kDirectory, PathFile::kUnreadable}) {
    SCOPED_TRACE(static_cast<int>(state));
    fs::remove_all(PathFileHost());
    if (state == PathFile::kValid) sandbox.WritePathFile(Root() + "\r\n");
    if (state == PathFile::kDirectory) fs::create_directories(PathFileHost());
    if (state == PathFile::kUnreadable) MakeUnreadable(PathFileHost());

    const ProcessResult result = Run({"Profiler.Prf"}, "sensors");
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.standard_output, kNoLibrary);
    const auto trace = TraceTexts(sandbox.ReadFile("sensors/Profiler.Trc"));
    ASSERT_EQ(trace.size(), 5u);
    EXPECT_EQ(trace[3], "Snmp Path: " + Reported("sensors"));
    EXPECT_FALSE(fs::exists(Host(Candidate(1)) + "/Profiler.Trc"));
  }
  fs::remove_all(PathFileHost());
}

// ---- Through the path file ----

TEST_F(DiscoveryTest, PathFileLeadsToCandidate1BeforeCandidate4) {
  sandbox.MakeDirectory("work");  // not set up
  for (int order : {1, 4}) {
    MarkSetUp(Host(Candidate(order)));
    sandbox.WriteFile(Host(Candidate(order)) + "/Profiler.Prf",
                      "IP-Addr....: 10.0.0." + std::to_string(order) + "\r\n");
  }
  sandbox.WritePathFile(Root() + "\r\n");

  const ProcessResult result = Run({"Profiler.Prf"}, "work");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output, kNoLibrary);
  const auto trace = TraceTexts(sandbox.ReadFile(Host(Candidate(1)) + "/Profiler.Trc"));
  ASSERT_EQ(trace.size(), 5u);
  EXPECT_EQ(trace[1], "Snmp IP=10.0.0.1, Alias=.N");
  EXPECT_EQ(trace[3], "Snmp Path: " + Candidate(1));
  EXPECT_FALSE(fs::exists(Host(Candidate(4)) + "/Profiler.Trc"));
  EXPECT_FALSE(sandbox.Exists("work/Profiler.Trc"));
}

TEST_F(DiscoveryTest, PathFileLeadsToCandidate4WhenOneToThreeAreNotSetUpForXml) {
  sandbox.MakeDirectory("work");
  fs::create_directories(Host(Candidate(1)));      // exists, no marker
  MarkSetUp(Host(Candidate(2)), "Statistic\r\n");  // another flavour
  MarkSetUp(Host(Candidate(3)), "Prtg\r\n");       // not a flavour
  MarkSetUp(Host(Candidate(4)), " xml ");
  MarkSetUp(Host(Candidate(5)));
  for (int order = 2; order <= 5; ++order) {
    sandbox.WriteFile(Host(Candidate(order)) + "/Router.Prf",
                      "IP-Addr....: 10.0.0." + std::to_string(order) + "\r\n");
  }
  // Two lines, the last with its backslash and without a line end.
  sandbox.WritePathFile("C:\\Nowhere\r\n" + Root() + "\\");

  const ProcessResult result = Run({"Router.Prf", "Profiler.Prf"}, "work");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output, kNoLibrary);
  const auto trace = TraceTexts(sandbox.ReadFile(Host(Candidate(4)) + "/Profiler.Trc"));
  ASSERT_EQ(trace.size(), 5u);
  EXPECT_EQ(trace[1], "Snmp IP=10.0.0.4, Alias=.N");
  EXPECT_EQ(trace[2], "Snmp Params: Router.Prf Profiler.Prf");
  EXPECT_EQ(trace[3], "Snmp Path: " + Candidate(4));
}

// The path-file line rules, seen through which candidate the run uses.
struct LineRuleCase {
  const char* name;
  std::string content;  // "ROOT" stands for the installation root
  std::string error;    // empty: candidate 1 below ROOT is found
};

void PrintTo(const LineRuleCase& c, std::ostream* out) { *out << c.name; }

class PathFileLineRuleTest : public DiscoveryTest,
                             public testing::WithParamInterface<LineRuleCase> {};

TEST_P(PathFileLineRuleTest, TheLastLineDecides) {
  sandbox.MakeDirectory("work");
  MarkSetUp(Host(Candidate(1)));
  MarkSetUp(Host("C:\\Nowhere\\" + std::string(kSubPaths[0])));
  sandbox.WriteFile(Host(Candidate(1)) + "/Profiler.Prf", "");
  std::string content = GetParam().content;
  content.replace(content.find("ROOT"), 4, Root());
  sandbox.WritePathFile(content);

  const ProcessResult result = Run({"Profiler.Prf"}, "work");

  EXPECT_EQ(result.exit_code, 0);
  if (GetParam().error.empty()) {
    EXPECT_EQ(result.standard_output, kNoLibrary);
    const auto trace = TraceTexts(sandbox.ReadFile(Host(Candidate(1)) + "/Profiler.Trc"));
    ASSERT_EQ(trace.size(), 5u);
    EXPECT_EQ(trace[3], "Snmp Path: " + Candidate(1));
  } else {
    EXPECT_EQ(result.standard_output, ErrorDocument(GetParam().error));
  }
  fs::remove_all(sandbox.DriveDirectory('c') + "/Nowhere");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PathFileLineRuleTest,
    testing::Values(LineRuleCase{"CarriageReturn", "C:\\Nowhere\rROOT\r", ""},
                    LineRuleCase{"CarriageReturnLineFeed", "C:\\Nowhere\r\nROOT\r\n", ""},
                    LineRuleCase{"NoLineEndOnTheLastLine", "C:\\Nowhere\r\nROOT", ""},
                    LineRuleCase{"Code26EndsTheText", "ROOT\x1a\r\nC:\\Nowhere\r\n", ""},
                    LineRuleCase{"TwoLineBreaksAtTheEnd", "ROOT\r\n\r\n",
                                 "Error 1003: Invalid Path within Prtg_Path.Txt found"},
                    // One line, line feed included: no candidate below it is set up.
                    LineRuleCase{"LoneLineFeedJoinsTheLines", "C:\\Nowhere\nROOT",
                                 "Error 1004: Invalid Starting-Path -"}),
    [](const testing::TestParamInfo<LineRuleCase>& info) { return info.param.name; });

// An empty path file makes the start directory the installation root. Under wine that is
// "Z:\tmp\...", so the candidates lie below it; on Linux the start directory "/tmp/..." holds no
// ":" and the run ends with Error 1003.
TEST_F(DiscoveryTest, EmptyPathFileMakesTheStartDirectoryTheInstallationRoot) {
  const std::string candidate = "work/PRTG Network Monitor/Custom Sensors/ExeXml";
  MarkSetUp(sandbox.Path(candidate));
  sandbox.WriteFile(candidate + "/Profiler.Prf", "");
  sandbox.WritePathFile("");

  const ProcessResult result = Run({"Profiler.Prf"}, "work");

  EXPECT_EQ(result.exit_code, 0);
  if (sandbox.windows()) {
    EXPECT_EQ(result.standard_output, kNoLibrary);
    const auto trace = TraceTexts(sandbox.ReadFile(candidate + "/Profiler.Trc"));
    ASSERT_EQ(trace.size(), 5u);
    EXPECT_EQ(trace[3], "Snmp Path: " + Reported("work") + "\\" + kSubPaths[0]);
  } else {
    EXPECT_EQ(result.standard_output,
              ErrorDocument("Error 1003: Invalid Path within Prtg_Path.Txt found"));
  }
}

// ---- Errors 1002, 1003, 1004, byte for byte ----

struct ErrorCase {
  const char* name;
  enum { kNone, kText, kDirectory, kUnreadable } path_file;
  std::string content;  // "ROOT" stands for the installation root
  std::string message;
};

void PrintTo(const ErrorCase& c, std::ostream* out) { *out << c.name; }

class DiscoveryErrorTest : public DiscoveryTest, public testing::WithParamInterface<ErrorCase> {};

TEST_P(DiscoveryErrorTest, WritesOneErrorDocumentAndExitsZero) {
  sandbox.MakeDirectory("work");
  sandbox.WriteFile("work/Profiler.Prf", "");
  // Candidate directories that exist but are not set up.
  for (int order = 1; order <= 6; ++order) fs::create_directories(Host(Candidate(order)));
  MarkSetUp(Host(Candidate(2)), "Context");
  switch (GetParam().path_file) {
    case ErrorCase::kNone:
      break;
    case ErrorCase::kText: {
      std::string content = GetParam().content;
      const size_t at = content.find("ROOT");
      if (at != std::string::npos) content.replace(at, 4, Root());
      sandbox.WritePathFile(content);
      break;
    }
    case ErrorCase::kDirectory:
      fs::create_directories(PathFileHost());
      break;
    case ErrorCase::kUnreadable:
      MakeUnreadable(PathFileHost());
      break;
  }

  const ProcessResult result = Run({"Profiler.Prf"}, "work");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output, ErrorDocument(GetParam().message));
  EXPECT_FALSE(sandbox.Exists("work/Profiler.Trc"));
  fs::remove_all(PathFileHost());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, DiscoveryErrorTest,
    testing::Values(ErrorCase{"NoPathFile", ErrorCase::kNone, "",
                              "Error 1002: File \"C:\\Prtg_Path.Txt\" not found"},
                    ErrorCase{"PathFileIsADirectory", ErrorCase::kDirectory, "",
                              "Error 1002: File \"C:\\Prtg_Path.Txt\" not found"},
                    ErrorCase{"PathFileCannotBeRead", ErrorCase::kUnreadable, "",
                              "Error 1002: File \"C:\\Prtg_Path.Txt\" could not be read"},
                    ErrorCase{"NetworkPath", ErrorCase::kText, "\\\\server\\share\r\n",
                              "Error 1003: Invalid Path within Prtg_Path.Txt found"},
                    ErrorCase{"EmptyLastLine", ErrorCase::kText, "ROOT\r\n\r\n",
                              "Error 1003: Invalid Path within Prtg_Path.Txt found"},
                    // The message ends in a blank, which the Text element leaves out.
                    ErrorCase{"NoCandidateSetUpForXml", ErrorCase::kText, "ROOT\r\n",
                              "Error 1004: Invalid Starting-Path -"}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

// ---- The device profile ----

TEST_F(DiscoveryTest, MissingProfileIsError1006WithTheProfilePath) {
  MarkSetUp(sandbox.Path("sensors"));
  sandbox.MakeDirectory("sensors/Dir.Prf");  // a directory does not count

  struct {
    std::vector<std::string> arguments;
    std::string profile_path;
  } cases[] = {
      {{"Router.Prf"}, Reported("sensors") + "\\Router.Prf"},
      {{}, Reported("sensors") + "\\"},
      {{"Dir.Prf"}, Reported("sensors") + "\\Dir.Prf"},
      // Profiler mode: still no trace file, since the profile comes first.
      {{"Profiler.Prf"}, Reported("sensors") + "\\Profiler.Prf"},
  };
  for (const auto& c : cases) {
    const ProcessResult result = Run(c.arguments, "sensors");
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.standard_output,
              ErrorDocument("Error 1006: Profile " + c.profile_path + " missing..."));
  }
  EXPECT_FALSE(sandbox.Exists("sensors/Profiler.Trc"));
}

TEST_F(DiscoveryTest, MissingProfileInACandidateIsError1006WithTheCandidatePath) {
  sandbox.MakeDirectory("work");
  MarkSetUp(Host(Candidate(1)));
  sandbox.WritePathFile(Root());

  const ProcessResult result = Run({"Router.Prf"}, "work");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output,
            ErrorDocument("Error 1006: Profile " + Candidate(1) + "\\Router.Prf missing..."));
}

TEST_F(DiscoveryTest, ProfileThatCannotBeReadIsError1006CouldNotBeRead) {
  MarkSetUp(sandbox.Path("sensors"));
  MakeUnreadable(sandbox.Path("sensors/Profiler.Prf"));

  const ProcessResult result = Run({"Profiler.Prf"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output, ErrorDocument("Error 1006: Profile " + Reported("sensors") +
                                                  "\\Profiler.Prf could not be read"));
  EXPECT_FALSE(sandbox.Exists("sensors/Profiler.Trc"));
}

TEST_F(DiscoveryTest, ProfileInASubdirectoryOfTheSensorDirectoryIsRead) {
  MarkSetUp(sandbox.Path("sensors"));
  sandbox.WriteFile("sensors/sub/Router.Prf",
                    "IP-Addr....: 10.1.2.3\r\nAlias......: edge\r\nSysnr......: 7\r\n");

  const ProcessResult result = Run({"sub\\Router.Prf", "Profiler.Prf"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output, kNoLibrary);
  const auto trace = TraceTexts(sandbox.ReadFile("sensors/Profiler.Trc"));
  ASSERT_EQ(trace.size(), 5u);
  EXPECT_EQ(trace[1], "Snmp IP=10.1.2.3, Alias=edge.N7");
  EXPECT_EQ(trace[2], "Snmp Params: sub\\Router.Prf Profiler.Prf");
}

// ---- Profiler mode ----

TEST_F(DiscoveryTest, ProfilerModeWritesTraceLines1To5InOrder) {
  MarkSetUp(sandbox.Path("sensors"));
  sandbox.WriteFile("sensors/Profiler.Prf",
                    "; a remark\r\nIP-Addr....: 127.0.0.1\r\nAlias......: core\r\n"
                    "Description: Core switch\r\nCommunity..: public\r\nSysnr......: 42\r\n");

  const ProcessResult result = Run({"Profiler.Prf", "Slct=22,State=L", "#", "a note"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output, kNoLibrary);
  const std::string trace = sandbox.ReadFile("sensors/Profiler.Trc");
  EXPECT_EQ(TraceTexts(trace), (std::vector<std::string>{
                                   "Snmp Kestrova Ver 1.3 / 26.01.22",
                                   "Snmp IP=127.0.0.1, Alias=core.N42",
                                   "Snmp Params: Slct=22,State=L",
                                   "Snmp Path: " + Reported("sensors"),
                                   "Snmp Starting Connection...",
                               }));
}

TEST_F(DiscoveryTest, OutsideProfilerModeNoTraceFileIsWritten) {
  MarkSetUp(sandbox.Path("sensors"));
  sandbox.WriteFile("sensors/Router.Prf", "IP-Addr....: 127.0.0.1\r\n");

  const ProcessResult result = Run({"Router.Prf", "profiler.prf"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output, kNoLibrary);
  EXPECT_FALSE(sandbox.Exists("sensors/Profiler.Trc"));
}

}  // namespace
}  // namespace kestrova_test
