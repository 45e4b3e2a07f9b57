// Runs that end before their document is opened: the one error document, byte for byte, exit 0.
#include <gtest/gtest.h>

#include "support/sandbox.h"

namespace kestrova_test {
namespace {

struct FlavourCase {
  const char* name;
  const char* marker;
  const char* expected;
};

void PrintTo(const FlavourCase& flavour, std::ostream* out) { *out << flavour.name; }

class MissingLibraryTest : public testing::TestWithParam<FlavourCase> {};

TEST_P(MissingLibraryTest, WritesTheErrorDocumentOfItsFlavourAndExitsZero) {
  Sandbox sandbox;
  const std::string program = sandbox.InstallProgram("bin");
  sandbox.WriteFile("sensors/Kestrova.Host", GetParam().marker);
  sandbox.WriteFile("sensors/Router.Prf", "IP-Addr....: 127.0.0.1\r\n");

  const ProcessResult result = sandbox.Run(program, {"Router.Prf", "Slct=All"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output, GetParam().expected);
  EXPECT_FALSE(sandbox.Exists("sensors/Router.Xrf"));
  EXPECT_FALSE(sandbox.Exists("sensors/Profiler.Trc"));
}

INSTANTIATE_TEST_SUITE_P(
    Flavours, MissingLibraryTest,
    testing::Values(
        FlavourCase{"Xml", "Xml\r\n",
                    "<Prtg>\r\n\r\n<Error>1</Error>\r\n"
                    "<Text>Error 2000: Snmp-Library not found</Text>\r\n\r\n</Prtg>\r\n"},
        FlavourCase{"EmptyMarker", "",
                    "<Prtg>\r\n\r\n<Error>1</Error>\r\n"
                    "<Text>Error 2000: Snmp-Library not found</Text>\r\n\r\n"
                    "</Prtg>\r\n"},
        FlavourCase{"Statistic", "statistic", "Error 2000: Snmp-Library not found\r\n"},
        FlavourCase{"Context", " Context \r\n", "Error 2000: Snmp-Library not found\r\n"}),
    [](const testing::TestParamInfo<FlavourCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kestrova_test
