#include "ber.h"

#include <gtest/gtest.h>

#include <climits>

namespace morvane {
namespace {

BerReader ReaderOf(const std::string& bytes) {
  return BerReader{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}

Tlv TlvOf(const std::string& content) {
  return Tlv{0x02, reinterpret_cast<const unsigned char*>(content.data()), content.size()};
}

TEST(BerTest, ReadsShortAndLongLengths) {
  const std::string long_content(300, 'x');
  std::string encoded;
  AppendTlv(encoded, 0x04, "abc");
  AppendTlv(encoded, 0x04, long_content);
  EXPECT_EQ(encoded.substr(5, 4), std::string("\x04\x82\x01\x2c", 4));
  BerReader reader = ReaderOf(encoded);
  Tlv tlv;
  ASSERT_TRUE(ReadTlv(reader, &tlv));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(tlv.content), tlv.length), "abc");
  ASSERT_TRUE(ReadTlv(reader, &tlv));
  EXPECT_EQ(tlv.length, 300u);
  EXPECT_EQ(reader.size, 0u);
}

TEST(BerTest, RejectsMalformedHeadersWithoutMoving) {
  const std::string cases[] = {
      std::string("\x04", 1),  // no length
      std::string("\x04\x05"
                  "abcd",
                  6),  // longer than what remains
      std::string("\x04\x80"
                  "ab\x00\x00",
                  6),  // indefinite length
      std::string("\x04\x85\x00\x00\x00\x00\x01"
                  "a",
                  8),                              // five length bytes
      std::string("\x04\x82\x01", 3),              // length bytes cut off
      std::string("\x04\x84\xff\xff\xff\xff", 6),  // a length near 4 GiB
      std::string("\x1f\x01\x00", 3),              // multi-byte tag
  };
  for (const std::string& bytes : cases) {
    BerReader reader = ReaderOf(bytes);
    Tlv tlv;
    EXPECT_FALSE(ReadTlv(reader, &tlv)) << testing::PrintToString(bytes);
    EXPECT_EQ(reader.size, bytes.size());
  }
}

TEST(BerTest, SignedIntegersRoundTripInMinimalForm) {
  const struct {
    int64_t value;
    std::string bytes;
  } cases[] = {
      {0, std::string("\x00", 1)},
      {127, "\x7f"},
      {128, std::string("\x00\x80", 2)},
      {-1, "\xff"},
      {-128, "\x80"},
      {-129, "\xff\x7f"},
      {INT32_MAX, "\x7f\xff\xff\xff"},
      {INT32_MIN, std::string("\x80\x00\x00\x00", 4)},
      {INT64_MIN, std::string("\x80\x00\x00\x00\x00\x00\x00\x00", 8)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeSigned(c.value), c.bytes) << c.value;
    int64_t decoded;
    ASSERT_TRUE(DecodeSigned(TlvOf(c.bytes), &decoded));
    EXPECT_EQ(decoded, c.value);
  }
  int64_t decoded;
  EXPECT_FALSE(DecodeSigned(TlvOf(""), &decoded));
  EXPECT_FALSE(DecodeSigned(TlvOf(std::string(9, '\x01')), &decoded));
}

TEST(BerTest, UnsignedValuesKeepToTheirWidth) {
  uint64_t value;
  EXPECT_EQ(EncodeUnsigned(0xFFFFFFFFu), std::string("\x00\xff\xff\xff\xff", 5));
  ASSERT_TRUE(DecodeUnsigned(TlvOf(EncodeUnsigned(0xFFFFFFFFu)), 32, &value));
  EXPECT_EQ(value, 0xFFFFFFFFu);
  ASSERT_TRUE(DecodeUnsigned(TlvOf(EncodeUnsigned(UINT64_MAX)), 64, &value));
  EXPECT_EQ(value, UINT64_MAX);
  EXPECT_FALSE(DecodeUnsigned(TlvOf(std::string("\x01\x00\x00\x00\x00", 5)), 32, &value));
  EXPECT_FALSE(DecodeUnsigned(TlvOf(std::string("\x00\x00\x01\x00\x00\x00\x00", 7)), 32, &value));
  EXPECT_FALSE(DecodeUnsigned(TlvOf(""), 32, &value));
}

TEST(BerTest, ObjectIdentifiersRoundTrip) {
  const Oid cases[] = {
      {1, 3, 6, 1, 2, 1, 6, 19, 1, 7},
      {0, 0},
      {2, 999, 4294967295u, 0, 128},
  };
  for (const Oid& oid : cases) {
    Oid decoded;
    ASSERT_TRUE(DecodeOid(TlvOf(EncodeOid(oid)), &decoded));
    EXPECT_EQ(decoded, oid);
  }
  EXPECT_EQ(EncodeOid({1, 3, 6, 1, 4, 1, 200}), std::string("\x2b\x06\x01\x04\x01\x81\x48", 7));
}

TEST(BerTest, RejectsMalformedObjectIdentifiers) {
  Oid decoded;
  EXPECT_FALSE(DecodeOid(TlvOf(""), &decoded));
  EXPECT_FALSE(DecodeOid(TlvOf("\x2b\x86"), &decoded));                  // cut inside a number
  EXPECT_FALSE(DecodeOid(TlvOf("\x2b\x80\x01"), &decoded));              // padded number
  EXPECT_FALSE(DecodeOid(TlvOf("\x2b\x90\x80\x80\x80\x00"), &decoded));  // beyond 32 bits
  EXPECT_FALSE(DecodeOid(TlvOf(std::string(200, '\x01')), &decoded));    // more than 128 numbers
}

}  // namespace
}  // namespace morvane
