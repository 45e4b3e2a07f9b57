#include "device_address.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(DeviceAddressTest, AcceptsEveryFormWithOptionalPort) {
  const struct {
    const char* text;
    const char* host;
    uint16_t port;
  } cases[] = {
      {"192.0.2.7", "192.0.2.7", 161},
      {"192.0.2.7:1161", "192.0.2.7", 1161},
      {"::1", "::1", 161},
      {"fe80::1:2", "fe80::1:2", 161},
      {"[::1]", "::1", 161},
      {"[2001:db8::5]:65535", "2001:db8::5", 65535},
      {"router.example", "router.example", 161},
      {"router.example:162", "router.example", 162},
  };
  for (const auto& c : cases) {
    const std::optional<DeviceAddress> address = ParseDeviceAddress(c.text);
    ASSERT_TRUE(address) << c.text;
    EXPECT_EQ(address->host, c.host);
    EXPECT_EQ(address->port, c.port);
  }
}

TEST(DeviceAddressTest, RejectsEmptyAndMalformedTexts) {
  for (const char* text : {"", ":161", "[]", "[::1", "[::1]161", "[::1]:", "host:", "host:0",
                           "host:65536", "host:16x", "host:1234567"}) {
    EXPECT_FALSE(ParseDeviceAddress(text)) << text;
  }
}

}  // namespace
}  // namespace morvane
