// The register convention of 32-bit x86, proved against a library written in assembly that checks
// what it receives (tests/libraries/register_probe-x86.S). Only the 32-bit Linux build, run under
// qemu-i386-static, has it.
#include <gtest/gtest.h>

#include <string>

#include "support/sandbox.h"

namespace kestrova_test {
namespace {

TEST(RegisterProbeTest, WholeQueryAgainstTheProbe) {
  Sandbox sandbox;
  if (sandbox.target() != "linux-x86") GTEST_SKIP() << "only the 32-bit x86 build has the probe";
  const std::string program = sandbox.InstallProgram("bin", sandbox.TestLibrary("register_probe"));
  sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
  sandbox.WriteFile("sensors/Profiler.Prf",
                    "IP-Addr....: 192.0.2.7\r\nDescription: Probe\r\nCommunity..: probe\r\n");

  const ProcessResult result = sandbox.Run(program, {"Profiler.Prf", "Slct=All"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(
      result.standard_output,
      "\r\n<Prtg>\r\n"
      "\r\n<Result><Channel>Port.4242</Channel>\r\n<Unit>Custom</Unit>\r\n"
      "<CustomUnit>State</CustomUnit>\r\n<Value>L</Value></Result>\r\n"
      "\r\n<Text>(Snmp) Probe: TCP Port(s) / Check for TCP-Ports</Text>\r\n\r\n</Prtg>\r\n\r\n");
  const std::string trace = sandbox.ReadFile("sensors/Profiler.Trc");
  EXPECT_NE(trace.find(" Snmp Dll-Version: Register probe 1.0\r\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find(" Snmp Probe ok: arguments in EAX, EDX, ECX, table file on top of 10\r\n"),
            std::string::npos)
      << trace;
  EXPECT_NE(trace.find(" Snmp Register probe\r\n"), std::string::npos) << trace;
  EXPECT_TRUE(sandbox.Exists("sensors/Dclos.ok"));
}

}  // namespace
}  // namespace kestrova_test
