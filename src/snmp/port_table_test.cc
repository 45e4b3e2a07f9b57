#include "snmp/port_table.h"

#include <gtest/gtest.h>

#include <vector>

#include "output/result_writer.h"
#include "platform/memory_platform.h"

namespace kestrova {
namespace {

constexpr char kTableFile[] = "Router.Xrf";
constexpr char kTraceFile[] = "C:\\Sensors\\Profiler.Trc";

// A row with state `state`, the port right-aligned in columns 5 to 9 and `service` from column 43.
std::string Row(const std::string& state, const std::string& port, const std::string& service) {
  std::string row = " " + state + "  " + std::string(5 - port.size(), ' ') + port;
  return row + std::string(42 - row.size(), ' ') + service;
}

const std::string kExampleTable = "* comment text\r\nSta Local\r\n" + std::string(50, '-') +
                                  "\r\n" + Row("L", "25", "smtp, mail") + "\r\n" +
                                  Row("L", "22", "ssh") + "\r\n" + Row("E", "139", "netbios-ssn") +
                                  "\r\n" + Row("L", "135", ".") + "\r\n" + Row("E", "25", "smtp") +
                                  "\r\n" + Row("L", "3389", "ms-wbt-server") + "\r\n";

struct Channel {
  std::string name;
  std::string value;
  std::string unit;
  bool operator==(const Channel& other) const {
    return name == other.name && value == other.value && unit == other.unit;
  }
};

void PrintTo(const Channel& channel, std::ostream* out) {
  *out << '{' << channel.name << ", " << channel.value << ", " << channel.unit << '}';
}

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
  const size_t begin = text.find(open);
  if (begin == std::string::npos) return "";
  const size_t end = text.find(close, begin + open.size());
  return text.substr(begin + open.size(), end - begin - open.size());
}

// The channels of an XML document, in order.
std::vector<Channel> ChannelsIn(const std::string& document) {
  std::vector<Channel> channels;
  for (size_t at = document.find("<Result>"); at != std::string::npos;
       at = document.find("<Result>", at + 1)) {
    const std::string result = document.substr(at, document.find("</Result>", at) - at);
    channels.push_back({Between(result, "<Channel>", "</Channel>"),
                        Between(result, "<Value>", "</Value>"),
                        Between(result, "<CustomUnit>", "</CustomUnit>")});
  }
  return channels;
}

std::string XmlChannel(const std::string& name, const std::string& value,
                       const std::string& unit = "State") {
  return "\r\n<Result><Channel>" + name + "</Channel>\r\n<Unit>Custom</Unit>\r\n<CustomUnit>" +
         unit + "</CustomUnit>\r\n<Value>" + value + "</Value></Result>\r\n";
}

std::string XmlDocument(const std::string& channels) {
  return "\r\n<Prtg>\r\n" + channels +
         "\r\n<Text>(Snmp) Router: TCP Port(s) / Check for TCP-Ports</Text>\r\n\r\n</Prtg>\r\n\r\n";
}

class PortTableTest : public testing::Test {
 protected:
  PortTableTest() {
    context.table_file = kTableFile;
    context.description = "Router";
    context.trace_file = platform.CreateWithReadSharing(kTraceFile);
    context.trace_open = true;
  }

  // The document opened, then ReadPortTable with the options as ReadOptions leaves them.
  void Read(const std::string& parameter_line, const std::string& selection = "",
            const std::string& state_filter = "") {
    context.parameter_line = parameter_line;
    context.selection = selection;
    context.state_filter = state_filter;
    OpenDocument(context);
    ReadPortTable(context);
  }

  const std::string& Output() const { return platform.standard_output; }
  const std::string& Trace() { return platform.files[kTraceFile]; }

  MemoryPlatform platform;
  RunContext context{&platform, {"Router.Prf"}};
};

struct ExampleCase {
  const char* name;
  HostFlavour flavour;
  const char* parameter_line;
  const char* selection;
  const char* state_filter;
  std::string document;
  int32_t channel_count;
};

void PrintTo(const ExampleCase& example, std::ostream* out) { *out << example.name; }

class ExampleTableTest : public PortTableTest, public testing::WithParamInterface<ExampleCase> {};

TEST_P(ExampleTableTest, WritesTheDocumentByteForByte) {
  platform.files[kTableFile] = kExampleTable;
  context.host_flavour = GetParam().flavour;

  Read(GetParam().parameter_line, GetParam().selection, GetParam().state_filter);

  EXPECT_EQ(Output(), GetParam().document);
  EXPECT_EQ(context.channel_count, GetParam().channel_count);
  EXPECT_EQ(Trace(), "12:00:00 Snmp comment text\r\n12:00:00 Snmp " +
                         std::to_string(GetParam().channel_count) + " Entries found...\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExampleTableTest,
    testing::Values(
        ExampleCase{
            "SelectAll", HostFlavour::kXml, "Router.Prf Slct=All", "", "",
            XmlDocument(XmlChannel("Port.25 / Smtp", "L") + XmlChannel("Port.22 / Ssh", "L") +
                        XmlChannel("Port.139 / Netbios-Ssn", "E") + XmlChannel("Port.135", "L") +
                        XmlChannel("Port.3389 / Ms-Wbt-server", "L")),
            5},
        ExampleCase{"SelectSs", HostFlavour::kXml, "Router.Prf Slct=Ss", "Ss", "",
                    XmlDocument(XmlChannel("Port.22 / Ssh", "L") +
                                XmlChannel("Port.139 / Netbios-Ssn", "E")),
                    2},
        // Line 8 (E) is a duplicate of line 4, whose state L does not pass.
        ExampleCase{"StateE", HostFlavour::kXml, "Router.Prf State=E", "", "E",
                    XmlDocument(XmlChannel("Port.139 / Netbios-Ssn", "E")), 1},
        ExampleCase{
            "SelectAllStateLWithCount", HostFlavour::kXml, "Router.Prf Slct=All,State=L", "", "L",
            XmlDocument(XmlChannel("Port.25 / Smtp", "L") + XmlChannel("Port.25 / Smtp", "L") +
                        XmlChannel("Port.22 / Ssh", "L") + XmlChannel("Port.22 / Ssh", "L") +
                        XmlChannel("Port.139 / Netbios-Ssn", "E") + XmlChannel("Port.135", "L") +
                        XmlChannel("Port.135", "L") + XmlChannel("Port.3389 / Ms-Wbt-server", "L") +
                        XmlChannel("Port.3389 / Ms-Wbt-server", "L") +
                        XmlChannel("No.of.Tcp-Ports", "9", "Entries")),
            10},
        ExampleCase{"StatisticSelectSs", HostFlavour::kStatistic, "Router.Prf Slct=Ss", "Ss", "",
                    "Message.Port.22___Ssh: Port.22 / Ssh (State)\r\n"
                    "Statistic.Port.22___Ssh: L\r\n"
                    "\r\n"
                    "Message.Port.139___Netbios-Ssn: Port.139 / Netbios-Ssn (State)\r\n"
                    "Statistic.Port.139___Netbios-Ssn: E\r\n"
                    "\r\n"
                    "# (Snmp) Router: TCP Port(s) / Check for TCP-Ports\r\n"
                    "\r\n",
                    2},
        ExampleCase{"ContextSelectSsWithCount", HostFlavour::kContext, "Router.Prf Slct=Ss,State",
                    "Ss", "",
                    "ConText.Port.22___Ssh L, <Port.22 / Ssh (State)>\r\n"
                    "ConText.Port.139___Netbios-Ssn E, <Port.139 / Netbios-Ssn (State)>\r\n"
                    "ConText.No.of.Tcp-Ports 2, <No.of.Tcp-Ports (Entries)>\r\n"
                    "# (Snmp) Router: TCP Port(s) / Check for TCP-Ports\r\n"
                    "\r\n",
                    3}),
    [](const testing::TestParamInfo<ExampleCase>& info) { return info.param.name; });

struct TableCase {
  const char* name;
  std::string table;
  const char* parameter_line;
  const char* selection;
  const char* state_filter;
  std::vector<Channel> channels;
};

void PrintTo(const TableCase& table, std::ostream* out) { *out << table.name; }

class TableChannelsTest : public PortTableTest, public testing::WithParamInterface<TableCase> {};

TEST_P(TableChannelsTest, WritesTheChannelsOfTheRows) {
  platform.files[kTableFile] = GetParam().table;

  Read(GetParam().parameter_line, GetParam().selection, GetParam().state_filter);

  EXPECT_EQ(ChannelsIn(Output()), GetParam().channels);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TableChannelsTest,
    testing::Values(
        // Later empty lines are duplicates of the first.
        TableCase{
            "EmptyLineIsARow", "\r\n\r\n\r\n", "Slct=All", "", "", {{"Port. / ", "", "State"}}},
        TableCase{"ShortRow", " L     25\r\n", "Slct=All", "", "", {{"Port.25 / ", "L", "State"}}},
        TableCase{"LastLineWithoutLineEnd",
                  Row("L", "25", "smtp") + "\r\n" + Row("L", "22", "ssh"),
                  "Slct=All",
                  "",
                  "",
                  {{"Port.25 / Smtp", "L", "State"}, {"Port.22 / Ssh", "L", "State"}}},
        TableCase{"EndOfTextCharacterEndsTheTable",
                  Row("L", "25", "smtp") + "\x1a\r\n" + Row("L", "22", "ssh") + "\r\n",
                  "Slct=All",
                  "",
                  "",
                  {{"Port.25 / Smtp", "L", "State"}}},
        TableCase{"HeaderAndRuleLinesAnywhere",
                  Row("L", "25", "smtp") + "\r\nSta Local\r\n-" + Row("L", "22", "ssh") +
                      "\r\nsta local\r\n* \r\n*x\r\n",
                  "Slct=All",
                  "",
                  "",
                  {{"Port.25 / Smtp", "L", "State"},
                   {"Port.local / ", "t", "State"},
                   {"Port. / ", "x", "State"}}},
        TableCase{"MegabyteLineWithoutLineEnd",
                  Row("L", "25", "smtp") + std::string(1 << 20, 'x'),
                  "Slct=All",
                  "",
                  "",
                  {{"Port.25 / Smtp" + std::string(95, 'x'), "L", "State"}}},
        // A substring test on names joined by "#" would take each second row for a duplicate.
        TableCase{"HashInServiceHidesNoLaterRow",
                  Row("L", "7", "a#") + "\r\n" + Row("E", "7", "a") + "\r\n",
                  "State=",
                  "",
                  "",
                  {{"Port.7 / A#", "L", "State"}, {"Port.7 / A", "E", "State"}}},
        TableCase{
            "PortInServiceHidesNoLaterRow",
            Row("L", "80", "x Port.443 / Https") + "\r\n" + Row("L", "443", "https") + "\r\n",
            "Slct=All",
            "",
            "",
            {{"Port.80 / X Port.443 / Https", "L", "State"}, {"Port.443 / Https", "L", "State"}}},
        TableCase{"HashAndPortInServiceHideNoRowWithoutService",
                  Row("L", "1", "x#Port.2") + "\r\n" + Row("L", "2", ".") + "\r\n",
                  "Slct=All",
                  "",
                  "",
                  {{"Port.1 / X#Port.2", "L", "State"}, {"Port.2", "L", "State"}}},
        TableCase{"DuplicateSkippedWhateverItsState",
                  Row("L", "25", "smtp") + "\r\n" + Row("E", "25", "smtp, mail") + "\r\n",
                  "State=E",
                  "",
                  "E",
                  {}},
        TableCase{"DuplicateSkippedByNameAlone",
                  Row("L", "25", "smtp") + "\r\n" + Row("E", "25", "smtp") + "\r\n" +
                      Row("L", "25", "  smtp, mail") + "\r\n",
                  "Slct=All",
                  "",
                  "",
                  {{"Port.25 / Smtp", "L", "State"}}},
        TableCase{"ServiceAndNoServiceAreDifferentNames",
                  Row("L", "25", "smtp") + "\r\n" + Row("E", "25", ".") + "\r\n",
                  "Slct=All",
                  "",
                  "",
                  {{"Port.25 / Smtp", "L", "State"}, {"Port.25", "E", "State"}}},
        TableCase{"SelectionOfDigitsSelectsByPort",
                  Row("L", "80", "http") + "\r\n" + Row("L", "8080", "http-alt") + "\r\n" +
                      Row("L", "180", ".") + "\r\n" + Row("L", "22", "ssh") + "\r\n",
                  "Slct=80",
                  "80",
                  "",
                  {{"Port.80 / Http", "L", "State"},
                   {"Port.8080 / Http-Alt", "L", "State"},
                   {"Port.180", "L", "State"}}},
        TableCase{"SelectionIsCaseSensitive", Row("L", "22", "ssh"), "Slct=ssh", "ssh", "", {}},
        TableCase{"StateFilterIsCaseSensitive", Row("L", "22", "ssh"), "State=l", "", "l", {}},
        TableCase{"NeitherRuleWritesNoRow", kExampleTable, "Router.Prf", "", "", {}},
        TableCase{"CountChannelWithoutStateRule",
                  Row("L", "22", "ssh"),
                  "Slct=All,State",
                  "",
                  "",
                  {{"Port.22 / Ssh", "L", "State"}, {"No.of.Tcp-Ports", "1", "Entries"}}},
        TableCase{"StateRuleAfterABlankGivesNoCountChannel",
                  Row("L", "22", "ssh"),
                  "Router.Prf State=",
                  "",
                  "",
                  {{"Port.22 / Ssh", "L", "State"}}}),
    [](const testing::TestParamInfo<TableCase>& info) { return info.param.name; });

TEST_F(PortTableTest, RowsEnterTheSetOfNamesWhetherWrittenOrNot) {
  platform.files[kTableFile] = kExampleTable;
  Read("Router.Prf Slct=Ss", "Ss");
  for (const char* name : {"Port.25 / Smtp", "Port.22 / Ssh", "Port.139 / Netbios-Ssn", "Port.135",
                           "Port.3389 / Ms-Wbt-server"}) {
    EXPECT_TRUE(context.emitted_names.Contains(name)) << name;
  }
  EXPECT_EQ(context.emitted_names.size(), 5u);
}

TEST_F(PortTableTest, NoteLinesGiveTraceLinesOfAtMost99Characters) {
  platform.files[kTableFile] = "* \r\n* " + std::string(99, 'a') + "bc\r\n";
  Read("Router.Prf");
  EXPECT_EQ(Trace(), "12:00:00 Snmp \r\n12:00:00 Snmp " + std::string(99, 'a') +
                         "\r\n12:00:00 Snmp 0 Entries found...\r\n");
}

TEST_F(PortTableTest, MissingTableFileGivesACountOfZero) {
  Read("Router.Prf Slct=All,State=");
  EXPECT_TRUE(platform.opened.empty());
  EXPECT_EQ(Output(), XmlDocument(XmlChannel("No.of.Tcp-Ports", "0", "Entries")));
  EXPECT_EQ(Trace(), "12:00:00 Snmp 1 Entries found...\r\n");
}

TEST_F(PortTableTest, EmptyTableFileGivesACountOfZero) {
  platform.files[kTableFile] = "";
  Read("Router.Prf Slct=All,State=");
  EXPECT_EQ(Output(), XmlDocument(XmlChannel("No.of.Tcp-Ports", "0", "Entries")));
  EXPECT_EQ(Trace(), "12:00:00 Snmp 1 Entries found...\r\n");
}

TEST_F(PortTableTest, TableFileThatCannotBeOpenedGivesNoRows) {
  platform.files[kTableFile] = kExampleTable;
  platform.unopenable.insert(kTableFile);
  Read("Router.Prf Slct=All,State");
  EXPECT_EQ(Output(), XmlDocument(XmlChannel("No.of.Tcp-Ports", "0", "Entries")));
}

TEST_F(PortTableTest, ReadErrorKeepsTheChannelsWrittenBeforeIt) {
  // The read fails half-way, inside the long third row.
  platform.files[kTableFile] = Row("L", "25", "smtp") + "\r\n" + Row("L", "22", "ssh") + "\r\n" +
                               Row("E", "139", "netbios-ssn" + std::string(300, 'x')) + "\r\n";
  platform.unreadable.insert(kTableFile);
  Read("Router.Prf Slct=All,State");
  EXPECT_EQ(Output(),
            XmlDocument(XmlChannel("Port.25 / Smtp", "L") + XmlChannel("Port.22 / Ssh", "L") +
                        XmlChannel("No.of.Tcp-Ports", "2", "Entries")));
}

class DisposeTableFileTest : public testing::Test {
 protected:
  DisposeTableFileTest() { context.table_file = kTableFile; }
  MemoryPlatform platform;
  RunContext context{&platform, {"Router.Prf"}};
};

TEST_F(DisposeTableFileTest, WaitsThenWipesOutsideProfilerMode) {
  // The file is still there during the wait: the wipe comes after it.
  class WaitWatchingPlatform : public MemoryPlatform {
   public:
    void SleepMilliseconds(uint32_t milliseconds) override {
      table_file_during_wait = FileExists(kTableFile);
      MemoryPlatform::SleepMilliseconds(milliseconds);
    }
    bool table_file_during_wait = false;
  } watching;
  watching.files[kTableFile] = kExampleTable;
  context.platform = &watching;
  context.parameter_line = "Router.Prf Slct=All";

  DisposeTableFile(context);

  EXPECT_EQ(watching.sleeps, std::vector<uint32_t>{1000});
  EXPECT_TRUE(watching.table_file_during_wait);
  EXPECT_FALSE(watching.FileExists(kTableFile));
}

TEST_F(DisposeTableFileTest, DoesNothingInProfilerMode) {
  platform.files[kTableFile] = kExampleTable;
  context.parameter_line = "Profiler.Prf Slct=All";

  DisposeTableFile(context);

  EXPECT_TRUE(platform.sleeps.empty());
  EXPECT_EQ(platform.files[kTableFile], kExampleTable);
}

TEST_F(DisposeTableFileTest, WaitsAlsoWhenThereIsNoTableFile) {
  context.parameter_line = "Router.Prf";
  DisposeTableFile(context);
  EXPECT_EQ(platform.sleeps, std::vector<uint32_t>{1000});
  EXPECT_TRUE(platform.files.empty());
}

TEST(EmptyAndDeleteFileTest, EmptiesAndDeletesOrSaysWhyNot) {
  const struct {
    const char* name;
    bool exists;
    bool unwritable;
    bool undeletable;
    bool result;
    const char* left;  // null: no file left
  } cases[] = {
      {"NoFile", false, false, false, true, nullptr},
      {"Wiped", true, false, false, true, nullptr},
      {"CannotTruncate", true, true, false, false, "rows"},
      {"CannotDelete", true, false, true, false, ""},
  };
  for (const auto& c : cases) {
    MemoryPlatform platform;
    RunContext context(&platform, {});
    if (c.exists) platform.files[kTableFile] = "rows";
    if (c.unwritable) platform.unwritable.insert(kTableFile);
    if (c.undeletable) platform.undeletable.insert(kTableFile);

    EXPECT_EQ(EmptyAndDeleteFile(context, kTableFile), c.result) << c.name;
    EXPECT_EQ(platform.FileExists(kTableFile), c.left != nullptr) << c.name;
    if (c.left) {
      EXPECT_EQ(platform.files[kTableFile], c.left) << c.name;
    }
  }
}

}  // namespace
}  // namespace kestrova
