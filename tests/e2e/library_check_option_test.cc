// A failed query with and without "/Check", in every host flavour, with the built program as a
// process. In the XML flavour the result is always one well-formed document holding the error.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/sandbox.h"

namespace kestrova_test {
namespace {

struct CheckCase {
  const char* name;
  const char* marker;
  const char* option;
  const char* output;
};

void PrintTo(const CheckCase& check, std::ostream* out) { *out << check.name; }

const char kXmlOutput[] =
    "\r\n<Prtg>\r\n<Error>1</Error>\r\n<Text>Error 2002: Invalid Snmp-Request</Text>\r\n\r\n"
    "\r\n<Text>(Snmp) Router: TCP Port(s) / Check for TCP-Ports</Text>\r\n\r\n</Prtg>\r\n\r\n";

// True when xmllint accepts `document` as well-formed XML.
bool WellFormed(const Sandbox& sandbox, const std::string& document) {
  sandbox.WriteFile("document.xml", document);
  const std::string command = "xmllint --noout - < '" + sandbox.Path("document.xml") + "'";
  return std::system(command.c_str()) == 0;
}

class CheckOptionTest : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckOptionTest, FailedQueryIsReportedOnce) {
  Sandbox sandbox;
  const std::string program = sandbox.InstallProgram("bin", sandbox.TestLibrary("snmp_raises"));
  sandbox.WriteFile("sensors/Kestrova.Host", GetParam().marker);
  sandbox.WriteFile("sensors/Router.Prf", "Description: Router\r\n");

  const ProcessResult result =
      sandbox.Run(program, {"Router.Prf", "Slct=All", GetParam().option}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output, GetParam().output);
  if (std::string(GetParam().marker) == "Xml") {
    EXPECT_TRUE(WellFormed(sandbox, result.standard_output));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Flavours, CheckOptionTest,
    testing::Values(
        CheckCase{"XmlWithCheck", "Xml", "/Check", kXmlOutput},
        CheckCase{"XmlWithoutCheck", "Xml", "/check", kXmlOutput},
        CheckCase{"StatisticWithCheck", "Statistic", "/Check",
                  "Error 2002: Invalid Snmp-Request\r\n# (Snmp) Router: TCP Port(s) / Check for "
                  "TCP-Ports\r\n\r\n"},
        CheckCase{"StatisticWithoutCheck", "Statistic", "/check",
                  "# Error: Error 2002: Invalid Snmp-Request\r\n# (Snmp) Router: TCP Port(s) / "
                  "Check for TCP-Ports\r\n\r\n"},
        CheckCase{"ContextWithCheck", "Context", "/Checked",
                  "Error 2002: Invalid Snmp-Request\r\n# (Snmp) Router: TCP Port(s) / Check for "
                  "TCP-Ports\r\n\r\n"},
        CheckCase{"ContextWithoutCheck", "Context", "-",
                  "# Error: Error 2002: Invalid Snmp-Request\r\n# (Snmp) Router: TCP Port(s) / "
                  "Check for TCP-Ports\r\n\r\n"}),
    [](const testing::TestParamInfo<CheckCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kestrova_test
