#include "inet_address.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes += static_cast<char>(value);
  return bytes;
}

TEST(InetAddressTest, FormatsEachTypeAsItsTextForm) {
  const struct {
    uint32_t type;
    std::string bytes;
    const char* text;
  } cases[] = {
      {kInetUnknown, "", ""},
      {kInetIpv4, Bytes({192, 0, 2, 255}), "192.0.2.255"},
      {kInetIpv6, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}), "::1"},
      {kInetIpv6, std::string(16, '\0'), "::"},
      {kInetIpv6, Bytes({0x20, 1, 0xd, 0xb8, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1}),
       "2001:db8::1:0:0:1"},
      {kInetIpv6, Bytes({0x20, 1, 0xd, 0xb8, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1}),
       "2001:db8:0:1:1:1:1:1"},
      {kInetIpv6, Bytes({0xfe, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "fe80::"},
      {kInetIpv6, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 10, 0, 0, 1}),
       "::ffff:10.0.0.1"},
      {kInetIpv4z, Bytes({10, 0, 0, 1, 0, 0, 1, 2}), "10.0.0.1%258"},
      {kInetIpv6z, Bytes({0xfe, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 3}),
       "fe80::1%3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatInetAddress(c.type, c.bytes), std::optional<std::string>(c.text)) << c.text;
  }
}

TEST(InetAddressTest, RejectsByteCountsThatDoNotFitTheType) {
  EXPECT_FALSE(FormatInetAddress(kInetUnknown, "a"));
  EXPECT_FALSE(FormatInetAddress(kInetIpv4, std::string(16, '\0')));
  EXPECT_FALSE(FormatInetAddress(kInetIpv6, std::string(4, '\0')));
  EXPECT_FALSE(FormatInetAddress(16, "router"));  // dns names never index a TCP table
}

TEST(InetAddressTest, EndpointsBracketIpv6) {
  EXPECT_EQ(FormatEndpoint("10.0.0.1", 80), "10.0.0.1:80");
  EXPECT_EQ(FormatEndpoint("fe80::1%3", 22), "[fe80::1%3]:22");
}

}  // namespace
}  // namespace morvane
