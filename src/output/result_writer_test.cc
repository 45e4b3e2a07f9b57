#include "output/result_writer.h"

#include <gtest/gtest.h>

#include "platform/memory_platform.h"

namespace kestrova {
namespace {

class ResultWriterTest : public testing::Test {
 protected:
  std::string Run(HostFlavour flavour, void (*calls)(RunContext&)) {
    context.host_flavour = flavour;
    calls(context);
    return platform.standard_output;
  }

  MemoryPlatform platform;
  RunContext context{&platform, {}};
};

void WorkedExample(RunContext& context) {
  OpenDocument(context);
  WriteChannel(context, "Port.25 / Smtp", "L", "State");
  WriteMessageText(context, "(Snmp) Router: TCP Port(s) / Check for TCP-Ports");
  CloseDocument(context);
}

TEST_F(ResultWriterTest, WorkedExampleInTheXmlFlavour) {
  EXPECT_EQ(Run(HostFlavour::kXml, WorkedExample),
            "\r\n"
            "<Prtg>\r\n"
            "\r\n"
            "<Result><Channel>Port.25 / Smtp</Channel>\r\n"
            "<Unit>Custom</Unit>\r\n"
            "<CustomUnit>State</CustomUnit>\r\n"
            "<Value>L</Value></Result>\r\n"
            "\r\n"
            "<Text>(Snmp) Router: TCP Port(s) / Check for TCP-Ports</Text>\r\n"
            "\r\n"
            "</Prtg>\r\n"
            "\r\n");
  EXPECT_EQ(context.channel_count, 1);
}

TEST_F(ResultWriterTest, WorkedExampleInTheStatisticFlavour) {
  EXPECT_EQ(Run(HostFlavour::kStatistic, WorkedExample),
            "Message.Port.25___Smtp: Port.25 / Smtp (State)\r\n"
            "Statistic.Port.25___Smtp: L\r\n"
            "\r\n"
            "# (Snmp) Router: TCP Port(s) / Check for TCP-Ports\r\n"
            "\r\n");
}

TEST_F(ResultWriterTest, WorkedExampleInTheContextFlavour) {
  EXPECT_EQ(Run(HostFlavour::kContext, WorkedExample),
            "ConText.Port.25___Smtp L, <Port.25 / Smtp (State)>\r\n"
            "# (Snmp) Router: TCP Port(s) / Check for TCP-Ports\r\n"
            "\r\n");
}

struct ErrorCase {
  const char* name;
  HostFlavour flavour;
  const char* document;     // WriteErrorDocument(" Error 2002: Invalid Snmp-Handle")
  const char* in_document;  // WriteErrorInDocument(" Error 2002: Invalid Snmp-Request ")
};

class ErrorTest : public ResultWriterTest, public testing::WithParamInterface<ErrorCase> {};

TEST_P(ErrorTest, ErrorDocumentAndErrorInsideTheDocument) {
  context.host_flavour = GetParam().flavour;
  WriteErrorDocument(context, " Error 2002: Invalid Snmp-Handle");
  EXPECT_EQ(platform.standard_output, GetParam().document);
  platform.standard_output.clear();
  WriteErrorInDocument(context, " Error 2002: Invalid Snmp-Request ");
  EXPECT_EQ(platform.standard_output, GetParam().in_document);
  EXPECT_EQ(context.channel_count, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Flavours, ErrorTest,
    testing::Values(
        ErrorCase{
            "Xml", HostFlavour::kXml,
            "<Prtg>\r\n\r\n<Error>1</Error>\r\n<Text>Error 2002: Invalid Snmp-Handle</Text>\r\n"
            "\r\n</Prtg>\r\n",
            "<Error>1</Error>\r\n<Text>Error 2002: Invalid Snmp-Request</Text>\r\n\r\n"},
        // The bare message keeps its blank; the line inside a document is trimmed.
        ErrorCase{"Statistic", HostFlavour::kStatistic, " Error 2002: Invalid Snmp-Handle\r\n",
                  "# Error: Error 2002: Invalid Snmp-Request\r\n"},
        ErrorCase{"Context", HostFlavour::kContext, " Error 2002: Invalid Snmp-Handle\r\n",
                  "# Error: Error 2002: Invalid Snmp-Request\r\n"}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

TEST_F(ResultWriterTest, EmptyUnitGivesNoUnitLinesAndTheHashMark) {
  context.host_flavour = HostFlavour::kXml;
  WriteChannel(context, "Port.135", "L", "");
  EXPECT_EQ(platform.standard_output,
            "\r\n<Result><Channel>Port.135</Channel>\r\n<Value>L</Value></Result>\r\n");

  platform.standard_output.clear();
  context.host_flavour = HostFlavour::kStatistic;
  WriteChannel(context, "Port.135", "L", "");
  EXPECT_EQ(platform.standard_output,
            "Message.Port.135: Port.135 (#)\r\nStatistic.Port.135: L\r\n\r\n");

  platform.standard_output.clear();
  context.host_flavour = HostFlavour::kContext;
  WriteChannel(context, "Port.135", "L", "");
  EXPECT_EQ(platform.standard_output, "ConText.Port.135 L, <Port.135 (#)>\r\n");
}

TEST_F(ResultWriterTest, UnitOfOneBlankIsNotEmpty) {
  context.host_flavour = HostFlavour::kXml;
  WriteChannel(context, "N", "V", " ");
  EXPECT_EQ(platform.standard_output,
            "\r\n<Result><Channel>N</Channel>\r\n<Unit>Custom</Unit>\r\n"
            "<CustomUnit> </CustomUnit>\r\n<Value>V</Value></Result>\r\n");
}

TEST_F(ResultWriterTest, StatisticFlavourPrintsTheFirstTenChannelsAndCountsAll) {
  context.host_flavour = HostFlavour::kStatistic;
  for (int i = 1; i <= 12; ++i) WriteChannel(context, "C" + std::to_string(i), "1", "U");
  EXPECT_EQ(context.channel_count, 12);
  EXPECT_NE(platform.standard_output.find("Statistic.C10: 1\r\n"), std::string::npos);
  EXPECT_EQ(platform.standard_output.find("C11"), std::string::npos);
  EXPECT_EQ(platform.standard_output.find("C12"), std::string::npos);
  size_t lines = 0;
  for (char c : platform.standard_output) lines += c == '\n';
  EXPECT_EQ(lines, 30u);
}

TEST_F(ResultWriterTest, XmlAndContextFlavoursPrintEveryChannel) {
  for (HostFlavour flavour : {HostFlavour::kXml, HostFlavour::kContext}) {
    platform.standard_output.clear();
    context.host_flavour = flavour;
    for (int i = 1; i <= 12; ++i) WriteChannel(context, "C" + std::to_string(i), "1", "U");
    EXPECT_NE(platform.standard_output.find("C12"), std::string::npos);
  }
}

TEST(SanitisedNameTest, ReplacesTheNineCharacters) {
  const struct {
    const char* name;
    const char* sanitised;
  } cases[] = {
      {"No.of.Tcp-Ports", "No.of.Tcp-Ports"},
      {"a:b(c)", "a_b_c_"},
      {"x[1]*y\\z", "x_1__y_z"},
      {"Port.25 / Smtp", "Port.25___Smtp"},
      {" /\\[]*():", "_________"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SanitisedName(c.name), c.sanitised) << c.name;
}

TEST(SanitisedNameTest, KeepsAtMost99CharactersAfterAReplacedOne) {
  EXPECT_EQ(SanitisedName(" " + std::string(100, 'x')), "_" + std::string(99, 'x'));
  EXPECT_EQ(SanitisedName(" " + std::string(99, 'x')), "_" + std::string(99, 'x'));
  // Characters before the replaced one are all kept.
  EXPECT_EQ(SanitisedName(std::string(150, 'y') + ":"), std::string(150, 'y') + "_");
}

TEST_F(ResultWriterTest, MessageTextIsTrimmed) {
  context.host_flavour = HostFlavour::kXml;
  WriteMessageText(context, " \t\x01(Snmp) Router \x1f\r");
  EXPECT_EQ(platform.standard_output, "\r\n<Text>(Snmp) Router</Text>\r\n");
  platform.standard_output.clear();
  context.host_flavour = HostFlavour::kContext;
  WriteMessageText(context, "  Router\t");
  EXPECT_EQ(platform.standard_output, "# Router\r\n");
}

TEST_F(ResultWriterTest, EmptyMessageText) {
  context.host_flavour = HostFlavour::kXml;
  WriteMessageText(context, "");
  EXPECT_EQ(platform.standard_output, "\r\n<Text></Text>\r\n");
  platform.standard_output.clear();
  context.host_flavour = HostFlavour::kStatistic;
  WriteMessageText(context, "");
  EXPECT_EQ(platform.standard_output, "# \r\n");
}

// Markup in a device's texts must not break the XML document or smuggle elements into it.
TEST_F(ResultWriterTest, XmlFlavourEscapesMarkup) {
  context.host_flavour = HostFlavour::kXml;
  WriteChannel(context, "Port.1 / A&B<C>", "<", "\"&'");
  WriteMessageText(context, "</Text><Error>1</Error>");
  WriteErrorInDocument(context, "a & b");
  EXPECT_EQ(platform.standard_output,
            "\r\n<Result><Channel>Port.1 / A&amp;B&lt;C&gt;</Channel>\r\n<Unit>Custom</Unit>\r\n"
            "<CustomUnit>\"&amp;'</CustomUnit>\r\n<Value>&lt;</Value></Result>\r\n"
            "\r\n<Text>&lt;/Text&gt;&lt;Error&gt;1&lt;/Error&gt;</Text>\r\n"
            "<Error>1</Error>\r\n<Text>a &amp; b</Text>\r\n\r\n");
}

TEST_F(ResultWriterTest, OtherFlavoursWriteMarkupUnchanged) {
  context.host_flavour = HostFlavour::kContext;
  WriteChannel(context, "A&B<C>", "<", "&");
  WriteErrorDocument(context, "<x>");
  EXPECT_EQ(platform.standard_output, "ConText.A&B<C> <, <A&B<C> (&)>\r\n<x>\r\n");
}

TEST_F(ResultWriterTest, OpenAndCloseOutsideTheXmlFlavour) {
  context.host_flavour = HostFlavour::kStatistic;
  OpenDocument(context);
  EXPECT_EQ(platform.standard_output, "");
  CloseDocument(context);
  EXPECT_EQ(platform.standard_output, "\r\n");
}

}  // namespace
}  // namespace kestrova
