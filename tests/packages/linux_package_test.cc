// The .deb and the .tar.gz for Linux, unpacked without installing (dpkg -x, tar) so that the test
// needs no root and leaves the machine as it was: the same tree in both, the program beside its
// library, and the command link in bin running against a test's agent.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
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
      tree + "/bin/kestrova", tree + "/lib/kestrova/kestrova", tree + "/lib/kestrova/Morvane.Dll",
      tree + "/share/doc/kestrova/README.md", tree + "/share/doc/kestrova/Sample.Prf"};
  EXPECT_EQ(Entries(unpacked_.path.string()), expected);
  ASSERT_TRUE(fs::is_symlink(Tree() / "bin/kestrova"));
  EXPECT_EQ(fs::read_symlink(Tree() / "bin/kestrova"), "../lib/kestrova/kestrova");
}

// Started through the link from a sensor directory, the program finds the library beside its own
// file and reports the ports the test listens on.
TEST_P(LinuxPackageTest, RunsThroughTheCommandLinkAgainstAnAgent) {
  LoopbackSockets sockets;  // before the agent, which reads the tables when it starts
  SnmpAgent agent(kCommunity, false);
  ASSERT_TRUE(agent.running()) << agent.failure();
  ASSERT_FALSE(sockets.connections.empty());
  Sandbox sandbox("linux");
  const std::string profile =
      FilledProfile(sandbox.ReadFile((Tree() / "share/doc/kestrova/Sample.Prf").string()),
                    agent.Ipv4Address(), kCommunity);
  ASSERT_NE(profile, "");
  sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
  sandbox.WriteFile("sensors/Router.Prf", profile);

  const ProcessResult result =
      sandbox.Run((Tree() / "bin/kestrova").string(), {"Router.Prf", "State=L"}, "sensors");

  EXPECT_EQ(result.exit_code, 0) << result.standard_error;
  for (const LoopbackConnection& connection : sockets.connections) {
    EXPECT_TRUE(ReportsListening(result.standard_output, connection.listener_port))
        << connection.listener_port << "\n"
        << result.standard_output;
  }
}

INSTANTIATE_TEST_SUITE_P(Packages, LinuxPackageTest, testing::ValuesIn(kLinuxPackages),
                         [](const testing::TestParamInfo<LinuxPackage>& info) {
                           return std::string(info.param.name);
                         });

TEST(DebTest, NamesThePackageItsVersionAndArchitecture) {
  const std::string deb = PackagePath(kDeb);
  ASSERT_TRUE(fs::is_regular_file(deb)) << deb << " is missing";
  const ProcessResult fields =
      RunProcess({"dpkg-deb", "-f", deb, "Package", "Version", "Architecture"}, "", {});
  EXPECT_EQ(fields.standard_output,
            "Package: kestrova\nVersion: " KESTROVA_VERSION "\nArchitecture: amd64\n");
}

}  // namespace
}  // namespace kestrova_test
