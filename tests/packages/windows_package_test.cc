// The zips for Windows as an administrator installs them: unpacked as they are into PRTG's EXE/XML
// folder. The 64-bit one runs under wine; the 32-bit one, which cannot run here, is inspected.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "packages/package_files.h"
#include "packages/sensor_setup.h"
#include "support/loopback_sockets.h"
#include "support/sandbox.h"
#include "support/snmp_agent.h"
#include "support/temporary_directory.h"

namespace fs = std::filesystem;

namespace kestrova_test {
namespace {

const char kCommunity[] = "kestrova";
const char kWin64Zip[] = "kestrova-" KESTROVA_VERSION "-win64.zip";
const char kWin32Zip[] = "kestrova-" KESTROVA_VERSION "-win32.zip";

class WindowsZipTest : public testing::TestWithParam<const char*> {};

TEST_P(WindowsZipTest, HoldsTheSensorDirectoryWithoutSubdirectories) {
  const std::string zip = PackagePath(GetParam());
  ASSERT_TRUE(fs::is_regular_file(zip)) << zip << " is missing";
  TemporaryDirectory unpacked;
  const ProcessResult unpacking = Unpack(zip, unpacked.path);
  ASSERT_EQ(unpacking.exit_code, 0) << unpacking.standard_error;

  const std::set<std::string> expected = {"kestrova.exe", "Morvane.Dll", "Kestrova.Host",
                                          "Sample.Prf", "README.txt"};
  EXPECT_EQ(Entries(unpacked.path), expected);
  std::ifstream host(unpacked.path / "Kestrova.Host");
  std::string dialect;
  std::getline(host, dialect);
  if (!dialect.empty() && dialect.back() == '\r') dialect.pop_back();
  EXPECT_EQ(dialect, "Xml");
}

INSTANTIATE_TEST_SUITE_P(Zips, WindowsZipTest, testing::Values(kWin64Zip, kWin32Zip),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param).find("win64") != std::string::npos
                                      ? "Win64"
                                      : "Win32";
                         });

// What keeps `file` from being a 32-bit x86 PE file that imports nothing but DLLs of Windows
// itself; empty when nothing does.
std::string Win32ReleaseProblems(const std::string& file) {
  const ProcessResult dump = RunProcess({"i686-w64-mingw32-objdump", "-p", file}, "", {});
  if (dump.exit_code != 0) return "objdump failed: " + dump.standard_error;
  std::string problems;
  if (dump.standard_output.find("file format pei-i386") == std::string::npos)
    problems += "not pei-i386; ";
  static const std::set<std::string> kSystemDlls = {"kernel32.dll", "msvcrt.dll", "ntdll.dll",
                                                    "advapi32.dll", "user32.dll", "ws2_32.dll"};
  static const std::regex kImport("DLL Name: (\\S+)");
  const std::string& text = dump.standard_output;
  for (std::sregex_iterator it(text.begin(), text.end(), kImport), end; it != end; ++it) {
    std::string dll = (*it)[1];
    for (char& c : dll) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!kSystemDlls.count(dll)) problems += "imports " + dll + "; ";
  }
  return problems;
}

TEST(Win32ZipTest, HoldsThirtyTwoBitFilesThatNeedOnlyWindows) {
  const std::string zip = PackagePath(kWin32Zip);
  ASSERT_TRUE(fs::is_regular_file(zip)) << zip << " is missing";
  TemporaryDirectory unpacked;
  ASSERT_EQ(Unpack(zip, unpacked.path).exit_code, 0);

  for (const char* file : {"kestrova.exe", "Morvane.Dll"}) {
    EXPECT_EQ(Win32ReleaseProblems((unpacked.path / file).string()), "") << file;
  }
}

// Unpacked into PRTG's folder, run by PRTG from a directory of its own: the program finds its
// folder through C:\Prtg_Path.Txt, reads the profile made from the sample, loads the library beside
// it and reports the ports the test listens on.
TEST(Win64ZipTest, WorksUnpackedIntoPrtgsFolderAndStartedElsewhere) {
  LoopbackSockets sockets;  // before the agent, which reads the tables when it starts
  SnmpAgent agent(kCommunity, false);
  ASSERT_TRUE(agent.running()) << agent.failure();
  ASSERT_FALSE(sockets.connections.empty());
  Sandbox sandbox("win64");
  const std::string zip = PackagePath(kWin64Zip);
  ASSERT_TRUE(fs::is_regular_file(zip)) << zip << " is missing";

  // The wine prefix is shared with the other tests: only a PRTG folder made here is removed.
  const fs::path prtg = sandbox.DriveDirectory('c') + "/Program Files (x86)/PRTG Network Monitor";
  ASSERT_FALSE(fs::exists(prtg)) << prtg << " is there already";
  struct RemovedAfterwards {
    fs::path path;
    ~RemovedAfterwards() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  } removed{prtg};
  const std::string folder = (prtg / "Custom Sensors/ExeXml").string();
  const ProcessResult unpacking = Unpack(zip, folder);
  ASSERT_EQ(unpacking.exit_code, 0) << unpacking.standard_error;
  const std::string profile =
      FilledProfile(sandbox.ReadFile(folder + "/Sample.Prf"), agent.Ipv4Address(), kCommunity);
  ASSERT_NE(profile, "");
  sandbox.WriteFile(folder + "/Router.Prf", profile);
  sandbox.WritePathFile("C:\\\r\n");
  sandbox.MakeDirectory("prtg-start");

  const ProcessResult result =
      sandbox.Run(folder + "/kestrova.exe", {"Router.Prf", "State=L"}, "prtg-start");

  EXPECT_EQ(result.exit_code, 0) << result.standard_error;
  for (const LoopbackConnection& connection : sockets.connections) {
    EXPECT_TRUE(ReportsListening(result.standard_output, connection.listener_port))
        << connection.listener_port << "\n"
        << result.standard_output;
  }
}

}  // namespace
}  // namespace kestrova_test
