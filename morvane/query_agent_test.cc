// Queries against net-snmp's snmpd, compared with what net-snmp's own tools read from it.
#include <gtest/gtest.h>
#include <netdb.h>
#include <netinet/in.h>

#include <chrono>
#include <set>

#include "query.h"
#include "support/loopback_sockets.h"
#include "support/snmp_agent.h"
#include "support/temporary_directory.h"
#include "test_table_file.h"

namespace morvane {
namespace {

using kestrova_test::LoopbackConnection;
using kestrova_test::LoopbackSockets;
using kestrova_test::SnmpAgent;
using kestrova_test::TcpRow;
using kestrova_test::TcpRowsByTool;
using kestrova_test::TemporaryDirectory;

std::set<TcpRow> RowsOf(const TableFile& table) {
  std::set<TcpRow> rows;
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
  LoopbackSockets sockets_;
  TemporaryDirectory directory_;
  std::filesystem::path table_path_ = directory_.path / "Router.Xrf";

  TableFile Query(const std::string& address, int budget_seconds, QueryOutcome* outcome) {
    const auto start = std::chrono::steady_clock::now();
    *outcome = RunQuery(address, "public", budget_seconds, table_path_.string());
    EXPECT_LE(std::chrono::steady_clock::now() - start, std::chrono::seconds(budget_seconds + 1));
    return ReadTableFile(table_path_);
  }

  void ExpectTableOfAgent(const TableFile& table, const std::set<TcpRow>& by_tool) {
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
      const std::set<TcpRow> rows = RowsOf(table);
      EXPECT_TRUE(rows.count({'L', listener, "*"})) << listener;
      EXPECT_TRUE(rows.count({'E', listener, client})) << listener;
      EXPECT_TRUE(rows.count({'E', client, listener})) << client;
    }
  }
};

TEST_F(AgentQueryTest, WalksTheAgentByGetBulkOverIpv4AndIpv6) {
  SnmpAgent agent("public", false);
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
    ExpectTableOfAgent(table, TcpRowsByTool("snmpbulkwalk -v2c -Cr50", "public", address));
  }
}

TEST_F(AgentQueryTest, WalksAnAgentThatSpeaksOnlySnmpV1ByGetNext) {
  SnmpAgent agent("public", true);
  ASSERT_TRUE(agent.running()) << agent.failure();
  QueryOutcome outcome;
  const TableFile table = Query(agent.Ipv4Address(), 2, &outcome);
  ASSERT_TRUE(outcome.ok) << outcome.status;
  ASSERT_EQ(table.notes.size(), 1u);
  EXPECT_NE(table.notes[0].find(" SNMPv1: "), std::string::npos) << table.notes[0];
  ExpectTableOfAgent(table, TcpRowsByTool("snmpwalk -v1", "public", agent.Ipv4Address()));
}

TEST_F(AgentQueryTest, AWrongCommunityGetsNoAnswer) {
  SnmpAgent agent("secret", false);
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
