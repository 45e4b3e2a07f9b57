#include "snmp_message.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

std::optional<Message> Decode(const std::string& bytes) {
  return DecodeMessage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

Value Integer(int64_t integer) {
  Value value;
  value.type = ValueType::kInteger;
  value.integer = integer;
  return value;
}

Value Typed(ValueType type) {
  Value value;
  value.type = type;
  return value;
}

Message ResponseWithEveryType() {
  Message message;
  message.version = SnmpVersion::kV2c;
  message.community = "pub\0lic";
  message.pdu_type = PduType::kResponse;
  message.request_id = -2000000000;
  const Oid base = {1, 3, 6, 1, 2, 1, 6, 19, 1, 7};
  auto add = [&](Value value) {
    Oid name = base;
    name.push_back(static_cast<uint32_t>(message.varbinds.size()));
    message.varbinds.push_back(VarBind{name, value});
  };
  add(Integer(5));
  add(Integer(-2147483648LL));
  Value octets = Typed(ValueType::kOctetString);
  octets.octets = std::string("\x00\xff text", 7);
  add(octets);
  add(Typed(ValueType::kNull));
  Value oid = Typed(ValueType::kObjectIdentifier);
  oid.oid = {1, 3, 6, 1, 4, 1, 8072};
  add(oid);
  Value ip = Typed(ValueType::kIpAddress);
  ip.octets = std::string("\x7f\x00\x00\x01", 4);
  add(ip);
  for (ValueType type : {ValueType::kCounter32, ValueType::kGauge32, ValueType::kTimeTicks}) {
    Value number = Typed(type);
    number.number = 4294967295u;
    add(number);
  }
  Value counter64 = Typed(ValueType::kCounter64);
  counter64.number = 18446744073709551615u;
  add(counter64);
  add(Typed(ValueType::kNoSuchObject));
  add(Typed(ValueType::kNoSuchInstance));
  add(Typed(ValueType::kEndOfMibView));
  return message;
}

void ExpectSameMessage(const Message& a, const Message& b) {
  EXPECT_EQ(a.version, b.version);
  EXPECT_EQ(a.community, b.community);
  EXPECT_EQ(a.pdu_type, b.pdu_type);
  EXPECT_EQ(a.request_id, b.request_id);
  EXPECT_EQ(a.error_status, b.error_status);
  EXPECT_EQ(a.error_index, b.error_index);
  ASSERT_EQ(a.varbinds.size(), b.varbinds.size());
  for (size_t i = 0; i < a.varbinds.size(); ++i) {
    const Value& x = a.varbinds[i].value;
    const Value& y = b.varbinds[i].value;
    EXPECT_EQ(a.varbinds[i].name, b.varbinds[i].name);
    EXPECT_EQ(x.type, y.type) << i;
    EXPECT_EQ(x.integer, y.integer) << i;
    EXPECT_EQ(x.number, y.number) << i;
    EXPECT_EQ(x.octets, y.octets) << i;
    EXPECT_EQ(x.oid, y.oid) << i;
  }
}

TEST(SnmpMessageTest, EveryValueTypeRoundTrips) {
  const Message message = ResponseWithEveryType();
  const std::optional<Message> decoded = Decode(EncodeMessage(message));
  ASSERT_TRUE(decoded);
  ExpectSameMessage(*decoded, message);
}

TEST(SnmpMessageTest, EncodesAGetBulkRequestAsAgentsExpect) {
  Message request;
  request.version = SnmpVersion::kV2c;
  request.community = "public";
  request.pdu_type = PduType::kGetBulkRequest;
  request.request_id = 1;
  request.error_index = 50;  // max-repetitions
  request.varbinds.push_back(VarBind{{1, 3, 6, 1, 2, 1, 6, 19, 1, 7}, Value{}});
  const std::string expected(
      "\x30\x27\x02\x01\x01\x04\x06public\xa5\x1a\x02\x01\x01\x02\x01\x00\x02\x01\x32"
      "\x30\x0f\x30\x0d\x06\x09\x2b\x06\x01\x02\x01\x06\x13\x01\x07\x05\x00",
      41);
  EXPECT_EQ(EncodeMessage(request), expected);
}

// A response of one variable binding whose value is given as raw BER.
std::string ResponseWithRawValue(const std::string& value) {
  std::string pair, varbind, list, pdu, body, message;
  AppendTlv(pair, 0x06, EncodeOid({1, 3, 6, 1}));
  pair += value;
  AppendTlv(varbind, 0x30, pair);
  AppendTlv(list, 0x30, varbind);
  for (int i = 0; i < 3; ++i) AppendTlv(pdu, 0x02, EncodeSigned(7));
  pdu += list;
  AppendTlv(body, 0x02, EncodeSigned(1));
  AppendTlv(body, 0x04, "public");
  AppendTlv(body, 0xA2, pdu);
  AppendTlv(message, 0x30, body);
  return message;
}

TEST(SnmpMessageTest, OpaqueIsSkippedWithoutItsContent) {
  // The BER-wrapped float some agents send as Opaque.
  const std::optional<Message> decoded =
      Decode(ResponseWithRawValue(std::string("\x44\x07\x9f\x78\x04\x3f\x80\x00\x00", 9)));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->varbinds[0].value.type, ValueType::kOpaque);
  EXPECT_EQ(decoded->request_id, 7);
}

TEST(SnmpMessageTest, RejectsValuesOfTheWrongShape) {
  const struct {
    const char* name;
    std::string value;
  } cases[] = {
      {"IpAddress of 5 bytes", std::string("\x40\x05\x01\x02\x03\x04\x05", 7)},
      {"INTEGER beyond 32 bits", std::string("\x02\x05\x01\x00\x00\x00\x00", 7)},
      {"Counter32 beyond 32 bits", std::string("\x41\x05\x01\x00\x00\x00\x00", 7)},
      {"NULL with content", std::string("\x05\x01\x00", 3)},
      {"endOfMibView with content", std::string("\x82\x01\x00", 3)},
      {"unknown type", std::string("\x47\x01\x00", 3)},
      {"no value", ""},
  };
  for (const auto& c : cases) EXPECT_FALSE(Decode(ResponseWithRawValue(c.value))) << c.name;
}

TEST(SnmpMessageTest, EveryTruncationIsRejected) {
  const std::string bytes = EncodeMessage(ResponseWithEveryType());
  for (size_t size = 0; size < bytes.size(); ++size) {
    EXPECT_FALSE(Decode(bytes.substr(0, size))) << size;
  }
}

TEST(SnmpMessageTest, RejectsMessagesOutsideWhatAWalkMeets) {
  Message message = ResponseWithEveryType();
  message.varbinds.resize(1);
  const std::string good = EncodeMessage(message);
  ASSERT_TRUE(Decode(good));

  std::string trailing = good + "x";
  std::string version3 = good;
  version3[4] = 3;  // the version INTEGER's only byte
  std::string trap = good;
  trap[good.find('\xa2')] = '\xa4';
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"trailing byte", trailing},        {"SNMPv3", version3}, {"v1 trap", trap}, {"empty", ""},
      {"not a sequence", "\x02\x01\x00"},
  };
  for (const auto& c : cases) EXPECT_FALSE(Decode(c.bytes)) << c.name;
}

}  // namespace
}  // namespace morvane
