// Queries against a responder of the test's own, which answers wrongly in every way it can.
#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "query.h"
#include "support/temporary_directory.h"
#include "tcp_tables.h"
#include "test_responder.h"
#include "test_table_file.h"

namespace morvane {
namespace {

using kestrova_test::TemporaryDirectory;

constexpr int kBudgetSeconds = 1;

std::vector<Reply> Send(const Message& message) { return {Reply{EncodeMessage(message)}}; }

Value IntegerValue(int64_t integer) {
  Value value;
  value.type = ValueType::kInteger;
  value.integer = integer;
  return value;
}

// A tiny agent over a fixed table: answers GetNext and GetBulk as an agent would.
ReplyFunction TableAgent(std::map<Oid, Value> table) {
  return [table](const Message& request) {
    if (request.varbinds.empty()) return std::vector<Reply>{};
    const int repetitions =
        request.pdu_type == PduType::kGetBulkRequest ? std::max(request.error_index, 1) : 1;
    std::vector<VarBind> varbinds;
    auto next = table.upper_bound(request.varbinds[0].name);
    for (int i = 0; i < repetitions; ++i, ++next) {
      if (next == table.end()) {
        if (request.version == SnmpVersion::kV1) return Send(ResponseTo(request, {}, kNoSuchName));
        Value end;
        end.type = ValueType::kEndOfMibView;
        varbinds.push_back(VarBind{request.varbinds[0].name, end});
        break;
      }
      varbinds.push_back(VarBind{next->first, next->second});
    }
    return Send(ResponseTo(request, varbinds));
  };
}

Oid Under(const Oid& column, const Oid& index) {
  Oid name = column;
  name.insert(name.end(), index.begin(), index.end());
  return name;
}

class HostileQueryTest : public testing::Test {
 protected:
  // Runs a query against `reply`, checking the bounds every query keeps.
  QueryOutcome Query(ReplyFunction reply, const std::string& community = "public") {
    TestResponder responder(std::move(reply));
    const auto start = std::chrono::steady_clock::now();
    const QueryOutcome outcome =
        RunQuery(responder.Address(), community, kBudgetSeconds, table_path_.string());
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LE(elapsed, std::chrono::seconds(kBudgetSeconds + 1));
    table_ = ReadTableFile(table_path_);
    EXPECT_TRUE(table_.exists);
    EXPECT_TRUE(table_.lines_end_in_cr_lf);
    return outcome;
  }

  void ExpectFailure(const QueryOutcome& outcome, const std::string& why) {
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.status.find(why), std::string::npos) << outcome.status;
    EXPECT_TRUE(table_.rows.empty()) << "a failed query writes note lines only";
    ASSERT_EQ(table_.notes.size(), 1u);
    EXPECT_NE(table_.notes[0].find(why), std::string::npos) << table_.notes[0];
  }

  TemporaryDirectory directory_;
  std::filesystem::path table_path_ = directory_.path / "Router.Xrf";
  TableFile table_;
};

TEST_F(HostileQueryTest, AnswersThatNeverMatchEndAsNoAnswerWithinTheBudget) {
  const std::string good = EncodeMessage(Message{});
  const struct {
    const char* name;
    std::function<std::vector<Reply>(const Message&)> reply;
  } cases[] = {
      {"silence", [](const Message&) { return std::vector<Reply>{}; }},
      {"garbage", [](const Message&) { return std::vector<Reply>{Reply{"\x30\x03garbage"}}; }},
      {"truncated BER",
       [](const Message& request) {
         std::string bytes = EncodeMessage(ResponseTo(request, request.varbinds));
         return std::vector<Reply>{Reply{bytes.substr(0, bytes.size() - 3)}};
       }},
      {"lengths beyond the datagram",
       [](const Message& request) {
         std::string bytes = EncodeMessage(ResponseTo(request, request.varbinds));
         bytes = "\x30\x84\x7f\xff\xff\xff" + bytes.substr(2);
         return std::vector<Reply>{Reply{bytes}};
       }},
      {"wrong request id",
       [](const Message& request) {
         Message response = ResponseTo(request, request.varbinds);
         ++response.request_id;
         return Send(response);
       }},
      {"wrong community",
       [](const Message& request) {
         Message response = ResponseTo(request, request.varbinds);
         response.community = "private";
         return Send(response);
       }},
      {"wrong source port",
       [](const Message& request) {
         return std::vector<Reply>{
             Reply{EncodeMessage(ResponseTo(request, request.varbinds)), true}};
       }},
      {"a request instead of a response", [](const Message& request) { return Send(request); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectFailure(Query(c.reply), "no answer to SNMPv2c or SNMPv1 within 1 s");
  }
}

TEST_F(HostileQueryTest, ProtocolViolationsEndTheWalkAsFailures) {
  const struct {
    const char* name;
    ReplyFunction reply;
    const char* why;
  } cases[] = {
      {"tooBig at every size",
       [](const Message& request) { return Send(ResponseTo(request, {}, kTooBig)); },
       "SNMPv2c: response too big"},
      {"an object identifier that does not increase",
       [](const Message& request) {
         return Send(ResponseTo(
             request, {VarBind{Under(kTcpListenerProcessColumn, {0, 0, 22}), IntegerValue(1)}}));
       },
       "SNMPv2c: object identifier does not increase"},
      {"genErr", [](const Message& request) { return Send(ResponseTo(request, {}, 5)); },
       "SNMPv2c: SNMP error-status 5"},
      {"no values", [](const Message& request) { return Send(ResponseTo(request, {})); },
       "SNMPv2c: response without values"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectFailure(Query(c.reply), c.why);
  }
}

TEST_F(HostileQueryTest, UnusableAddressesFailAtOnce) {
  for (const char* address : {"", "[::1", "host:99999", "no-such-host.invalid"}) {
    SCOPED_TRACE(address);
    const QueryOutcome outcome = RunQuery(address, "public", kBudgetSeconds, table_path_.string());
    table_ = ReadTableFile(table_path_);
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(table_.rows.empty());
    EXPECT_EQ(table_.notes.size(), 1u);
  }
}

TEST_F(HostileQueryTest, TooBigHalvesTheRepetitions) {
  std::map<Oid, Value> table;
  for (uint32_t port = 1; port <= 40; ++port) {
    table[Under(kTcpListenerProcessColumn, {1, 4, 0, 0, 0, 0, port})] = IntegerValue(1);
  }
  ReplyFunction agent = TableAgent(table);
  std::vector<int> repetitions;
  const QueryOutcome outcome = Query([&](const Message& request) {
    repetitions.push_back(request.error_index);
    if (request.error_index > 10) return Send(ResponseTo(request, {}, kTooBig));
    return agent(request);
  });
  ASSERT_TRUE(outcome.ok) << outcome.status;
  EXPECT_EQ(table_.rows.size(), 40u);
  ASSERT_GE(repetitions.size(), 4u);
  EXPECT_EQ(std::vector<int>(repetitions.begin(), repetitions.begin() + 4),
            (std::vector<int>{50, 25, 12, 6}));
}

TEST_F(HostileQueryTest, AnAgentAnsweringInSnmpV1IsWalkedWithGetNext) {
  std::map<Oid, Value> table = {
      {Under(kTcpConnectionStateColumn, {1, 4, 10, 0, 0, 1, 22, 1, 4, 10, 0, 0, 2, 4000}),
       IntegerValue(5)}};
  ReplyFunction agent = TableAgent(table);
  std::vector<PduType> pdus;
  const QueryOutcome outcome = Query([&](const Message& request) {
    pdus.push_back(request.pdu_type);
    if (request.version == SnmpVersion::kV2c) {
      Message refusal = ResponseTo(request, {});
      refusal.version = SnmpVersion::kV1;
      return Send(refusal);
    }
    return agent(request);
  });
  ASSERT_TRUE(outcome.ok) << outcome.status;
  EXPECT_EQ(pdus.front(), PduType::kGetBulkRequest);
  EXPECT_EQ(pdus.back(), PduType::kGetNextRequest);
  ASSERT_EQ(table_.rows.size(), 1u);
  EXPECT_EQ(table_.rows[0].remote, "10.0.0.2:4000");
  EXPECT_NE(table_.notes[0].find("SNMPv1"), std::string::npos) << table_.notes[0];
}

TEST_F(HostileQueryTest, TheOldTableServesOnlyWhenTheModernOnesAreEmpty) {
  const Oid old_row = Under(kTcpConnStateColumn, {10, 0, 0, 1, 23, 10, 0, 0, 2, 5000});
  std::map<Oid, Value> old_only = {{old_row, IntegerValue(8)}};
  std::map<Oid, Value> both = old_only;
  both[Under(kTcpListenerProcessColumn, {1, 4, 0, 0, 0, 0, 80})] = IntegerValue(1);

  ASSERT_TRUE(Query(TableAgent(old_only)).ok);
  ASSERT_EQ(table_.rows.size(), 1u);
  EXPECT_EQ(table_.rows[0].state, 'W');
  EXPECT_EQ(table_.rows[0].port, "23");

  ASSERT_TRUE(Query(TableAgent(both)).ok);
  ASSERT_EQ(table_.rows.size(), 1u);
  EXPECT_EQ(table_.rows[0].state, 'L');
  EXPECT_EQ(table_.rows[0].port, "80");
}

}  // namespace
}  // namespace morvane
