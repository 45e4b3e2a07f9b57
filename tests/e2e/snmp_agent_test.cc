// The program end to end against net-snmp's snmpd: the build's own Morvane.Dll beside the program,
// a profile for a private agent on loopback, and the channels compared with what the agent reports.
// Sockets of other processes may come and go between the agent's answers and the run, so the exact
// comparison is on the test's own sockets; every other port must be one the agent reported.
#include "support/snmp_agent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/loopback_sockets.h"
#include "support/sandbox.h"

namespace kestrova_test {
namespace {

const char kCommunity[] = "kestrova";

struct Channel {
  std::string name;
  std::string value;
  std::string unit;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<Channel> XmlChannels(const std::string& output) {
  static const std::regex kChannel(
      "<Result><Channel>([^<]*)</Channel>\r\n<Unit>Custom</Unit>\r\n<CustomUnit>([^<]*)"
      "</CustomUnit>\r\n<Value>([^<]*)</Value></Result>");
  std::vector<Channel> channels;
  for (std::sregex_iterator it(output.begin(), output.end(), kChannel), end; it != end; ++it) {
    channels.push_back({(*it)[1], (*it)[3], (*it)[2]});
  }
  return channels;
}

// "ConText.<sanitised name> <value>, <<name> (<unit>)>"
std::vector<Channel> ContextChannels(const std::string& output) {
  static const std::regex kLine("ConText\\.\\S+ (.*), <(.*) \\(([^()]*)\\)>");
  std::vector<Channel> channels;
  for (const std::string& line : Lines(output)) {
    std::smatch match;
    if (std::regex_match(line, match, kLine)) channels.push_back({match[2], match[1], match[3]});
  }
  return channels;
}

// The local port a row's channel is named after: "Port.<port>", then nothing or " / <service>".
std::string PortOf(const std::string& channel_name) {
  static const std::regex kName("Port\\.([0-9]+)(?: / .*)?");
  std::smatch match;
  return std::regex_match(channel_name, match, kName) ? match[1].str() : "";
}

int ChannelsOf(const std::vector<Channel>& channels, uint16_t port, const std::string& value) {
  return static_cast<int>(std::count_if(channels.begin(), channels.end(), [&](const Channel& c) {
    return PortOf(c.name) == std::to_string(port) && c.value == value;
  }));
}

std::set<std::string> LocalPorts(const std::set<TcpRow>& rows) {
  std::set<std::string> ports;
  for (const TcpRow& row : rows) ports.insert(std::get<1>(row));
  return ports;
}

// The trace lines without their time stamps.
std::vector<std::string> TraceTexts(const std::string& trace) {
  std::vector<std::string> texts;
  for (const std::string& line : Lines(trace))
    texts.push_back(line.size() > 9 ? line.substr(9) : "");
  return texts;
}

class AgentRunTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(agent_.running()) << agent_.failure();
    ASSERT_FALSE(sockets_.connections.empty());
    sandbox_.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
  }

  void WriteProfile(const std::string& name, const std::string& address) const {
    sandbox_.WriteFile("sensors/" + name, "IP-Addr....: " + address +
                                              "\r\nAlias......: Loopback\r\nDescription: Router"
                                              "\r\nCommunity..: " +
                                              kCommunity + "\r\nSysnr......: 1\r\n");
  }

  // What the agent reports right before and right after the run.
  struct Observed {
    ProcessResult result;
    std::set<std::string> ports_before;
    std::set<std::string> ports_after;
  };

  Observed Run(const std::string& profile, const std::string& options) const {
    Observed observed;
    observed.ports_before = LocalPorts(AgentRows());
    observed.result = sandbox_.Run(program_, {profile, options}, "sensors");
    observed.ports_after = LocalPorts(AgentRows());
    return observed;
  }

  std::set<TcpRow> AgentRows() const {
    return TcpRowsByTool("snmpbulkwalk -v2c -Cr50", kCommunity, agent_.Ipv4Address());
  }

  // Each row channel names a port the agent reported; the count channel, when there, comes last
  // and counts the channels before it.
  static void ExpectChannelsOfAgent(const std::vector<Channel>& channels, const Observed& observed,
                                    bool count_channel) {
    const size_t rows = channels.size() - (count_channel ? 1 : 0);
    for (size_t i = 0; i < rows; ++i) {
      const std::string port = PortOf(channels[i].name);
      EXPECT_TRUE(observed.ports_before.count(port) || observed.ports_after.count(port))
          << channels[i].name;
      EXPECT_EQ(channels[i].unit, "State") << channels[i].name;
    }
    if (!count_channel) return;
    ASSERT_FALSE(channels.empty());
    EXPECT_EQ(channels.back().name, "No.of.Tcp-Ports");
    EXPECT_EQ(channels.back().value, std::to_string(rows));
    EXPECT_EQ(channels.back().unit, "Entries");
  }

  // The agent reads the system's TCP tables when it starts and keeps them for a while, so the
  // test's sockets must exist before it.
  LoopbackSockets sockets_;
  SnmpAgent agent_{kCommunity, false};
  Sandbox sandbox_;
  const std::string program_ = sandbox_.InstallProgram("bin", sandbox_.build() + "/Morvane.Dll");
};

struct OptionCase {
  const char* name;
  const char* host;  // the first line of Kestrova.Host: the output dialect
  const char* options;
  int channels_per_listener;  // value L
  int channels_per_client;    // value E
  bool every_port;            // every port the agent reported throughout has a channel
  bool count_channel;
};

void PrintTo(const OptionCase& option_case, std::ostream* out) { *out << option_case.name; }

// A listener's port is also the local port of the accepted side of its connection; that row comes
// later with the same name and is skipped, so the port shows the listener's state only.
const OptionCase kOptionCases[] = {
    {"AllAndListenersTwice", "Xml", "Slct=All,State=L", 2, 1, true, true},
    {"AllAndListenersTwiceAsContextLines", "Context", "Slct=All,State=L", 2, 1, true, true},
    {"All", "Xml", "Slct=All", 1, 1, true, false},
    {"AllWithCount", "Xml", "Slct=All,State", 1, 1, true, true},
    {"EstablishedOnly", "Xml", "State=E", 0, 1, false, false},
    {"EstablishedOnlyWithCount", "Xml", "Slct=None,State=E", 0, 1, false, true},
};

class AgentOptionTest : public AgentRunTest, public testing::WithParamInterface<OptionCase> {};

TEST_P(AgentOptionTest, ChannelsMatchTheAgent) {
  const OptionCase& c = GetParam();
  sandbox_.WriteFile("sensors/Kestrova.Host", std::string(c.host) + "\r\n");
  WriteProfile("Router.Prf", agent_.Ipv4Address());

  const Observed observed = Run("Router.Prf", c.options);

  EXPECT_EQ(observed.result.exit_code, 0);
  const std::string& output = observed.result.standard_output;
  const std::vector<Channel> channels =
      std::string(c.host) == "Xml" ? XmlChannels(output) : ContextChannels(output);
  ExpectChannelsOfAgent(channels, observed, c.count_channel);
  for (const LoopbackConnection& connection : sockets_.connections) {
    EXPECT_EQ(ChannelsOf(channels, connection.listener_port, "L"), c.channels_per_listener)
        << connection.listener_port << "\n"
        << output;
    EXPECT_EQ(ChannelsOf(channels, connection.listener_port, "E"), 0) << connection.listener_port;
    EXPECT_EQ(ChannelsOf(channels, connection.client_port, "E"), c.channels_per_client)
        << connection.client_port << "\n"
        << output;
  }
  if (!c.every_port) return;
  std::set<std::string> ports_of_channels;
  for (const Channel& channel : channels) ports_of_channels.insert(PortOf(channel.name));
  for (const std::string& port : observed.ports_before) {
    if (observed.ports_after.count(port)) {
      EXPECT_TRUE(ports_of_channels.count(port)) << port;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Options, AgentOptionTest, testing::ValuesIn(kOptionCases),
                         [](const testing::TestParamInfo<OptionCase>& info) {
                           return info.param.name;
                         });

TEST_F(AgentRunTest, SelectionByPortDigitsNamesThatListenerOnly) {
  const std::string port = std::to_string(sockets_.connections[0].listener_port);
  WriteProfile("Router.Prf", agent_.Ipv4Address());

  const Observed observed = Run("Router.Prf", "Slct=" + port);

  EXPECT_EQ(observed.result.exit_code, 0);
  const std::vector<Channel> channels = XmlChannels(observed.result.standard_output);
  ExpectChannelsOfAgent(channels, observed, false);
  EXPECT_EQ(ChannelsOf(channels, sockets_.connections[0].listener_port, "L"), 1);
  for (const Channel& channel : channels) {
    EXPECT_NE(channel.name.find(port), std::string::npos) << channel.name;
  }
}

TEST_F(AgentRunTest, WalksTheAgentOverIpv6) {
  if (!agent_.has_ipv6()) GTEST_SKIP() << "no IPv6 loopback on this machine";
  WriteProfile("Router.Prf", agent_.Ipv6Address());

  const Observed observed = Run("Router.Prf", "Slct=All");

  EXPECT_EQ(observed.result.exit_code, 0);
  const std::vector<Channel> channels = XmlChannels(observed.result.standard_output);
  ExpectChannelsOfAgent(channels, observed, false);
  for (const LoopbackConnection& connection : sockets_.connections) {
    EXPECT_EQ(ChannelsOf(channels, connection.listener_port, "L"), 1) << connection.listener_port;
    EXPECT_EQ(ChannelsOf(channels, connection.client_port, "E"), 1) << connection.client_port;
  }
}

// The rows of a table file: state letter and local port.
std::set<std::pair<char, std::string>> TableRows(const std::string& table) {
  std::set<std::pair<char, std::string>> rows;
  for (const std::string& line : Lines(table)) {
    if (line.size() < 43 || line[0] != ' ' || line.rfind("Sta Local", 0) == 0) continue;
    const std::string port = line.substr(4, 5);
    rows.emplace(line[1], port.substr(port.find_first_not_of(' ')));
  }
  return rows;
}

TEST_F(AgentRunTest, ProfilerModeKeepsTheTableFileAndTracesTheQuery) {
  WriteProfile("Profiler.Prf", agent_.Ipv4Address());

  const Observed observed = Run("Profiler.Prf", "Slct=All");

  EXPECT_EQ(observed.result.exit_code, 0);
  const std::vector<Channel> channels = XmlChannels(observed.result.standard_output);
  const std::string table = sandbox_.ReadFile("sensors/Profiler.Xxx");
  const std::vector<std::string> table_lines = Lines(table);
  ASSERT_GE(table_lines.size(), 3u) << table;
  const std::set<std::pair<char, std::string>> rows = TableRows(table);
  for (const LoopbackConnection& connection : sockets_.connections) {
    EXPECT_TRUE(rows.count({'L', std::to_string(connection.listener_port)}));
    EXPECT_TRUE(rows.count({'E', std::to_string(connection.listener_port)}));
    EXPECT_TRUE(rows.count({'E', std::to_string(connection.client_port)}));
  }

  const std::regex note("\\* " +
                        std::regex_replace(agent_.Ipv4Address(), std::regex("\\."), "\\.") +
                        " SNMPv2c: ([0-9]+) rows, ([0-9]+) requests, [0-9]+ ms");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(table_lines[0], match, note)) << table_lines[0];
  const std::string row_count = match[1];
  const std::string requests = match[2];
  EXPECT_EQ(row_count, std::to_string(table_lines.size() - 3));
  const std::vector<std::string> trace = TraceTexts(sandbox_.ReadFile("sensors/Profiler.Trc"));
  ASSERT_EQ(trace.size(), 12u);
  EXPECT_EQ(trace[1], "Snmp IP=" + agent_.Ipv4Address() + ", Alias=Loopback.N1");
  EXPECT_EQ(trace[5], "Snmp Dll-Version: Morvane 1.0 SNMPv2c/v1");
  EXPECT_EQ(trace[6], "Snmp Processing: Kestrova...");
  EXPECT_EQ(trace[7], "Snmp Query ok: " + row_count + " rows in " + requests + " requests");
  EXPECT_TRUE(std::regex_match(trace[8], std::regex("Snmp RunTime: [0-9]+ mSec"))) << trace[8];
  EXPECT_EQ(trace[9], "Snmp " + table_lines[0].substr(2));
  EXPECT_EQ(trace[10], "Snmp " + std::to_string(channels.size()) + " Entries found...");
  EXPECT_EQ(trace[11], "Snmp Ending Connection");
}

TEST(FailedQueryTest, NothingListeningIsAFailedQueryWithANotesOnlyTableFile) {
  Sandbox sandbox;
  const std::string program = sandbox.InstallProgram("bin", sandbox.build() + "/Morvane.Dll");
  bool ipv6_free;
  const std::string address = "127.0.0.1:" + std::to_string(FreeUdpPort(&ipv6_free));
  sandbox.WriteFile("sensors/Kestrova.Host", "Xml\r\n");
  sandbox.WriteFile(
      "sensors/Profiler.Prf",
      "IP-Addr....: " + address + "\r\nDescription: Router\r\nCommunity..: " + kCommunity + "\r\n");

  const ProcessResult result = sandbox.Run(program, {"Profiler.Prf", "Slct=All,State"}, "sensors");

  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.standard_output,
            "\r\n<Prtg>\r\n<Error>1</Error>\r\n<Text>Error 2002: Invalid Snmp-Request</Text>\r\n"
            "\r\n\r\n<Result><Channel>No.of.Tcp-Ports</Channel>\r\n<Unit>Custom</Unit>\r\n"
            "<CustomUnit>Entries</CustomUnit>\r\n<Value>0</Value></Result>\r\n\r\n"
            "<Text>(Snmp) Router: TCP Port(s) / Check for TCP-Ports</Text>\r\n\r\n</Prtg>\r\n\r\n");
  const std::string why =
      "Query of \"" + address + "\" failed: no answer to SNMPv2c or SNMPv1 within 10 s";
  EXPECT_EQ(sandbox.ReadFile("sensors/Profiler.Xxx"), "* " + why + "\r\n");
  const std::vector<std::string> trace = TraceTexts(sandbox.ReadFile("sensors/Profiler.Trc"));
  const std::vector<std::string> after_the_query(trace.begin() + std::min<size_t>(7, trace.size()),
                                                 trace.end());
  EXPECT_EQ(after_the_query, (std::vector<std::string>{"Snmp " + why, "Snmp 1 Entries found...",
                                                       "Snmp Ending Connection"}));
  // The budget is "10" seconds plus one; the margin is for the program's start, slow under wine.
  EXPECT_LT(result.seconds, 10 + 1 + 10);
}

}  // namespace
}  // namespace kestrova_test
