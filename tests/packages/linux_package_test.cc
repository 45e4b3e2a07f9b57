// The .deb and the .tar.gz for Linux: the same tree in both, the program beside its library, and
// the command link in bin running against a test's agent. The packages are unpacked (dpkg -x, tar),
// and the .deb is also installed and removed with dpkg in a scratch root, so that the machine stays
// as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

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
const char kDeb[] = "kestrova_" KESTROVA_VERSION "_amd64.deb";

struct LinuxPackage {
  const char* name;
  const char* file;
  const char* tree;  // where the installed tree (bin, lib, share) is in the unpacked package
};

void PrintTo(const LinuxPackage& package, std::ostream* out) { *out << package.file; }

const LinuxPackage kLinuxPackages[] = {
    {"Deb", kDeb, "usr"},
    {"TarGz", "kestrova-" KESTROVA_VERSION "-linux-x86_64.tar.gz",
     "kestrova-" KESTROVA_VERSION "-linux-x86_64"},
};

class LinuxPackageTest : public testing::TestWithParam<LinuxPackage> {
 protected:
  void SetUp() override {
    const std::string package = PackagePath(GetParam().file);
    ASSERT_TRUE(fs::is_regular_file(package)) << package << " is missing";
    const ProcessResult unpacking = Unpack(package, unpacked_.path);
    ASSERT_EQ(unpacking.exit_code, 0) << unpacking.standard_error;
  }

  fs::path Tree() const { return unpacked_.path / GetParam().tree; }

  TemporaryDirectory unpacked_;
};

TEST_P(LinuxPackageTest, HoldsTheProgramBesideItsLibraryAndACommandLink) {
  const std::string tree = GetParam().tree;
  const std::set<std::string> expected = {
      tree + "/bin/kestrova", tree + "/libexec/kestrova/kestrova",
      tree + "/libexec/kestrova/Morvane.Dll", tree + "/share/doc/kestrova/README.md",
      tree + "/share/doc/kestrova/Sample.Prf"};
  EXPECT_EQ(Entries(unpacked_.path.string()), expected);
  ASSERT_TRUE(fs::is_symlink(Tree() / "bin/kestrova"));
  EXPECT_EQ(fs::read_symlink(Tree() / "bin/kestrova"), "../libexec/kestrova/kestrova");
}

// Started as `program` from a sensor directory, the program finds the library beside its own file
// and reports the ports the test listens on.
void ExpectItReportsTheListeningPorts(const fs::path& program, const fs::path& sample_profile) {
  LoopbackSockets sockets;  // before the agent, which reads the tables when it starts
  SnmpAgent agent(kCommunity, false);
  ASSERT_TRUE(agent.running()) << agent.failure();
  ASSERT_FALSE(sockets.connections.empty());
  Sandbox sandbox("linux");
  const std::string profile =
      FilledProfile(sandbox.ReadFile(sample_profile.string()), agent.Ipv4Address(), kCommunity);
  ASSERT_NE(profile, "");
  sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
  sandbox.WriteFile("sensors/Router.Prf", profile);

  const ProcessResult result = sandbox.Run(program.string(), {"Router.Prf", "State=L"}, "sensors");

  EXPECT_EQ(result.exit_code, 0) << result.standard_error;
  for (const LoopbackConnection& connection : sockets.connections) {
    EXPECT_TRUE(ReportsListening(result.standard_output, connection.listener_port))
        << connection.listener_port << "\n"
        << result.standard_output;
  }
}

TEST_P(LinuxPackageTest, RunsThroughTheCommandLinkAgainstAnAgent) {
  ExpectItReportsTheListeningPorts(Tree() / "bin/kestrova",
                                   Tree() / "share/doc/kestrova/Sample.Prf");
}

INSTANTIATE_TEST_SUITE_P(Packages, LinuxPackageTest, testing::ValuesIn(kLinuxPackages),
                         [](const testing::TestParamInfo<LinuxPackage>& info) {
                           return std::string(info.param.name);
                         });

class DebTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fs::is_regular_file(deb)) << deb << " is missing"; }

  const std::string deb = PackagePath(kDeb);
};

TEST_F(DebTest, NamesThePackageItsVersionAndArchitecture) {
  const ProcessResult fields =
      RunProcess({"dpkg-deb", "-f", deb, "Package", "Version", "Architecture"}, "", {});
  EXPECT_EQ(fields.standard_output,
            "Package: kestrova\nVersion: " KESTROVA_VERSION "\nArchitecture: amd64\n");
}

// The C++ runtime is linked in, so the package asks only for what the program loads from the
// machine, with the versions it was built against.
TEST_F(DebTest, DependsOnWhatTheProgramLoads) {
  const std::string depends =
      RunProcess({"dpkg-deb", "-f", deb, "Depends"}, "", {}).standard_output;
  EXPECT_NE(depends.find("libc6 (>= "), std::string::npos) << depends;
  EXPECT_EQ(depends.find("libstdc++"), std::string::npos) << depends;
}

// dpkg with a root of its own: the dependencies are the machine's, which this root's database does
// not list.
ProcessResult Dpkg(const fs::path& root, const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {"dpkg", "--root=" + root.string(), "--force-not-root",
                                      "--force-depends"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return RunProcess(command, "", {});
}

TEST_F(DebTest, InstallsWithDpkgRunsAndRemovesWithoutATrace) {
  TemporaryDirectory root;
  const fs::path database = root.path / "var/lib/dpkg";
  for (const char* directory : {"info", "updates", "triggers"}) {
    fs::create_directories(database / directory);
  }
  std::ofstream(database / "status").close();  // an empty database

  const ProcessResult installing = Dpkg(root.path, {"-i", deb});
  ASSERT_EQ(installing.exit_code, 0) << installing.standard_output << installing.standard_error;
  const ProcessResult status = Dpkg(root.path, {"-s", "kestrova"});
  EXPECT_NE(status.standard_output.find("Status: install ok installed"), std::string::npos)
      << status.standard_output;

  ExpectItReportsTheListeningPorts(root.path / "usr/bin/kestrova",
                                   root.path / "usr/share/doc/kestrova/Sample.Prf");

  const ProcessResult removing = Dpkg(root.path, {"-r", "kestrova"});
  ASSERT_EQ(removing.exit_code, 0) << removing.standard_output << removing.standard_error;
  EXPECT_FALSE(fs::exists(root.path / "usr"));
}

}  // namespace
}  // namespace kestrova_test
