// Queries against net-snmp's snmpd, compared with what net-snmp's own tools read from it.
#include <gtest/gtest.h>
#include <netdb.h>
#include <netinet/in.h>

#include <chrono>
#include <set>
#include <sstream>
#include <tuple>

#include "query.h"
#include "test_agent.h"
#include "test_sockets.h"
#include "test_table_file.h"
#include "test_temporary_directory.h"

namespace morvane {
namespace {

// A row as the table file shows it: state, local port, and remote port ("*" for a listener).
using RowSummary = std::tuple<char, std::string, std::string>;

std::vector<uint32_t> Numbers(const std::string& dotted) {
  std::vector<uint32_t> numbers;
  std::istringstream in(dotted);
  std::string part;
  while (std::getline(in, part, '.')) {
    if (!part.empty()) numbers.push_back(static_cast<uint32_t>(std::stoul(part)));
  }
  return numbers;
}

// The rows net-snmp's walking tool finds in the listener and connection columns, from the
// instance indexes of its numeric output.
std::set<RowSummary> RowsByTool(const std::string& tool, const std::string& address) {
  const std::string prefix = tool + " -c public -On -Oe -M /dev/null " + address + " ";
  std::set<RowSummary> rows;
  std::istringstream listeners(CommandOutput(prefix + ".1.3.6.1.2.1.6.20.1.4 2>/dev/null"));
  for (std::string line; std::getline(listeners, line);) {
    const std::vector<uint32_t> index = Numbers(line.substr(22, line.find(' ') - 22));
    if (index.size() < 3) continue;
    rows.emplace('L', std::to_string(index.back()), "*");
  }
  std::istringstream connections(CommandOutput(prefix + ".1.3.6.1.2.1.6.19.1.7 2>/dev/null"));
  for (std::string line; std::getline(connections, line);) {
    const std::vector<uint32_t> index = Numbers(line.substr(22, line.find(' ') - 22));
    const size_t equals = line.find("INTEGER: ");
    if (index.size() < 6 || equals == std::string::npos) continue;
    const int state = std::stoi(line.substr(equals + 9));
    const size_t local_port = 2 + index[1];
    const std::string port = std::to_string(index[local_port]);
    if (state == 2) {
      rows.emplace('L', port, "*");
    } else {
      rows.emplace("CLSREFGWAKTD"[state - 1], port, std::to_string(index.back()));
    }
  }
  return rows;
}

std::set<RowSummary> RowsOf(const TableFile& table) {
  std::set<RowSummary> rows;
  for (const TableFileRow& row : table.rows) {
    const std::string remote_port =
        row.remote == "*" ? "*" : row.remote.substr(row.remote.rfind(':') + 1);
    rows.emplace(row.state, row.port, remote_port);
  }
  return rows;
}

std::string ServiceFieldByDatabase(const std::string& port) {
  const servent* entry = getservbyport(htons(static_cast<uint16_t>(std::stoi(port))), "tcp");
  if (!entry) return ".";
  std::string field = entry->s_name;
  for (char** alias = entry->s_aliases; *alias; ++alias) field += ", " + std::string(*alias);
  return field;
}

class AgentQueryTest : public testing::Test {
 protected:
  // The agent reads the system's TCP tables once when it starts and keeps them for a while, so
  // the test's sockets must exist before it.
  TestSockets sockets_;
  TemporaryDirectory directory_;
  std::filesystem::path table_path_ = directory_.path / "Router.Xrf";

  TableFile Query(const std::string& address, int budget_seconds, QueryOutcome* outcome) {
    const auto start = std::chrono::steady_clock::now();
    *outcome = RunQuery(address, "public", budget_seconds, table_path_.string());
    EXPECT_LE(std::chrono::steady_clock::now() - start, std::chrono::seconds(budget_seconds + 1));
    return ReadTableFile(table_path_);
  }

  void ExpectTableOfAgent(const TableFile& table, const std::set<RowSummary>& by_tool) {
    EXPECT_TRUE(table.lines_end_in_cr_lf);
    EXPECT_EQ(RowsOf(table), by_tool);
    bool connections_began = false;
    for (const TableFileRow& row : table.rows) {
      if (row.remote != "*") connections_began = true;
      EXPECT_FALSE(connections_began && row.remote == "*") << "listeners come first";
      EXPECT_EQ(row.service, ServiceFieldByDatabase(row.port));
    }
    for (const LoopbackConnection& connection : sockets_.connections) {
      const std::string listener = std::to_string(connection.listener_port);
      const std::string client = std::to_string(connection.client_port);
      const std::set<RowSummary> rows = RowsOf(table);
      EXPECT_TRUE(rows.count({'L', listener, "*"})) << listener;
      EXPECT_TRUE(rows.count({'E', listener, client})) << listener;
      EXPECT_TRUE(rows.count({'E', client, listener})) << client;
    }
  }
};

TEST_F(AgentQueryTest, WalksTheAgentByGetBulkOverIpv4AndIpv6) {
  TestAgent agent("public", false);
  ASSERT_TRUE(agent.running()) << agent.failure();
  std::vector<std::string> addresses = {agent.Ipv4Address()};
  if (agent.has_ipv6()) addresses.push_back(agent.Ipv6Address());
  for (const std::string& address : addresses) {
    SCOPED_TRACE(address);
    QueryOutcome outcome;
    const TableFile table = Query(address, 10, &outcome);
    ASSERT_TRUE(outcome.ok) << outcome.status;
    EXPECT_EQ(
        outcome.status.rfind("Query ok: " + std::to_string(table.rows.size()) + " rows in ", 0), 0u)
        << outcome.status;
    ASSERT_EQ(table.notes.size(), 1u);
    EXPECT_NE(table.notes[0].find(address + " SNMPv2c: "), std::string::npos) << table.notes[0];
    ExpectTableOfAgent(table, RowsByTool("snmpbulkwalk -v2c -Cr50", address));
  }
}

TEST_F(AgentQueryTest, WalksAnAgentThatSpeaksOnlySnmpV1ByGetNext) {
  TestAgent agent("public", true);
  ASSERT_TRUE(agent.running()) << agent.failure();
  QueryOutcome outcome;
  const TableFile table = Query(agent.Ipv4Address(), 2, &outcome);
  ASSERT_TRUE(outcome.ok) << outcome.status;
  ASSERT_EQ(table.notes.size(), 1u);
  EXPECT_NE(table.notes[0].find(" SNMPv1: "), std::string::npos) << table.notes[0];
  ExpectTableOfAgent(table, RowsByTool("snmpwalk -v1", agent.Ipv4Address()));
}

TEST_F(AgentQueryTest, AWrongCommunityGetsNoAnswer) {
  TestAgent agent("secret", false);
  ASSERT_TRUE(agent.running()) << agent.failure();
  QueryOutcome outcome;
  const TableFile table = Query(agent.Ipv4Address(), 1, &outcome);
  EXPECT_FALSE(outcome.ok);
  EXPECT_TRUE(table.rows.empty());
  ASSERT_EQ(table.notes.size(), 1u);
  EXPECT_NE(table.notes[0].find("no answer"), std::string::npos) << table.notes[0];
}

}  // namespace
}  // namespace morvane
