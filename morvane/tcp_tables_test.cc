#include "tcp_tables.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

const Oid kIpv4Index = {1, 4, 10, 0, 0, 1, 22, 1, 4, 192, 0, 2, 9, 50000};
const Oid kIpv6Index = {2, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 443,
                        2, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 40000};

TEST(TcpTablesTest, StateLettersFollowTheMib) {
  const std::string letters = "CLSREFGWAKTD";
  for (int state = 1; state <= 12; ++state) EXPECT_EQ(StateLetter(state), letters[state - 1]);
  for (int state : {-1, 0, 13, 100}) EXPECT_EQ(StateLetter(state), '?');
}

TEST(TcpTablesTest, ConnectionIndexGivesBothEndpoints) {
  const std::optional<SocketRow> row = ConnectionRow(kIpv4Index, 5);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->state, 'E');
  EXPECT_FALSE(row->listener);
  EXPECT_EQ(row->local_address, "10.0.0.1");
  EXPECT_EQ(row->local_port, 22);
  EXPECT_EQ(row->remote_address, "192.0.2.9");
  EXPECT_EQ(row->remote_port, 50000);

  const std::optional<SocketRow> v6 = ConnectionRow(kIpv6Index, 11);
  ASSERT_TRUE(v6);
  EXPECT_EQ(v6->state, 'T');
  EXPECT_EQ(v6->local_address, "::1");
  EXPECT_EQ(v6->local_port, 443);
  EXPECT_EQ(v6->remote_port, 40000);
}

TEST(TcpTablesTest, AConnectionInListenStateIsAListener) {
  const std::optional<SocketRow> row =
      ConnectionRow({1, 4, 0, 0, 0, 0, 80, 1, 4, 0, 0, 0, 0, 0}, 2);
  ASSERT_TRUE(row);
  EXPECT_TRUE(row->listener);
  EXPECT_EQ(row->state, 'L');
  EXPECT_EQ(row->remote_address, "");
}

TEST(TcpTablesTest, ListenerIndexIncludingDualStack) {
  const std::optional<SocketRow> ipv4 = ListenerRow({1, 4, 127, 0, 0, 1, 25});
  ASSERT_TRUE(ipv4);
  EXPECT_EQ(ipv4->local_address, "127.0.0.1");
  EXPECT_EQ(ipv4->local_port, 25);
  EXPECT_EQ(ipv4->state, 'L');
  EXPECT_TRUE(ipv4->listener);
  const std::optional<SocketRow> dual = ListenerRow({0, 0, 22});
  ASSERT_TRUE(dual);
  EXPECT_EQ(dual->local_address, "");
  EXPECT_EQ(dual->local_port, 22);
}

TEST(TcpTablesTest, OldTableIndexIsIpv4Only) {
  const std::optional<SocketRow> row = OldConnectionRow({10, 0, 0, 1, 22, 192, 0, 2, 9, 50000}, 8);
  ASSERT_TRUE(row);
  EXPECT_EQ(row->state, 'W');
  EXPECT_EQ(row->local_port, 22);
  EXPECT_EQ(row->remote_address, "192.0.2.9");
  EXPECT_TRUE(OldConnectionRow({0, 0, 0, 0, 80, 0, 0, 0, 0, 0}, 2)->listener);
}

TEST(TcpTablesTest, MalformedIndexesGiveNoRow) {
  Oid too_long = kIpv4Index;
  too_long.push_back(1);
  Oid port_too_big = kIpv4Index;
  port_too_big[6] = 65536;
  Oid byte_too_big = kIpv4Index;
  byte_too_big[2] = 256;
  Oid length_beyond_end = {1, 200, 1, 2};
  Oid wrong_length = {1, 3, 10, 0, 0, 22, 1, 4, 192, 0, 2, 9, 50000};
  for (const Oid& index : {Oid{}, Oid(kIpv4Index.begin(), kIpv4Index.end() - 1), too_long,
                           port_too_big, byte_too_big, length_beyond_end, wrong_length}) {
    EXPECT_FALSE(ConnectionRow(index, 5));
  }
  EXPECT_FALSE(ListenerRow({1, 4, 127, 0, 0, 1}));
  EXPECT_FALSE(ListenerRow({1, 4, 127, 0, 0, 1, 25, 0}));
  EXPECT_FALSE(OldConnectionRow({10, 0, 0, 1, 22}, 5));
}

SocketRow Row(char state, bool listener, const char* local, uint16_t port, const char* remote = "",
              uint16_t remote_port = 0) {
  return SocketRow{state, listener, local, port, remote, remote_port};
}

TEST(TcpTablesTest, MergePutsListenersFirstAndKeepsEachSocketOnce) {
  const std::vector<SocketRow> listeners = {Row('L', true, "0.0.0.0", 22), Row('L', true, "::", 22),
                                            Row('L', true, "0.0.0.0", 22)};
  const std::vector<SocketRow> connections = {
      Row('E', false, "10.0.0.1", 22, "10.0.0.2", 4000),
      Row('L', true, "127.0.0.1", 631),
      Row('L', true, "0.0.0.0", 22),
      Row('T', false, "10.0.0.1", 22, "10.0.0.2", 4001),
      Row('E', false, "10.0.0.1", 22, "10.0.0.2", 4000),
  };
  const std::vector<SocketRow> merged = MergeRows(listeners, connections);
  std::vector<std::string> summary;
  for (const SocketRow& row : merged) {
    summary.push_back(std::string(1, row.state) + " " + row.local_address + ":" +
                      std::to_string(row.local_port) + " " + std::to_string(row.remote_port));
  }
  EXPECT_EQ(summary, (std::vector<std::string>{"L 0.0.0.0:22 0", "L :::22 0", "L 127.0.0.1:631 0",
                                               "E 10.0.0.1:22 4000", "T 10.0.0.1:22 4001"}));
}

}  // namespace
}  // namespace morvane
