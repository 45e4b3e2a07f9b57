// The device's address as a profile gives it: an IPv4 address, an IPv6 address (in brackets when a
// port follows) or a host name, with an optional ":port".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

constexpr uint16_t kSnmpPort = 161;

struct DeviceAddress {
  std::string host;  // without brackets
  uint16_t port = kSnmpPort;
};

// Nothing when the text is empty or malformed (an unclosed bracket, a port that is not 1 to 65535).
std::optional<DeviceAddress> ParseDeviceAddress(const std::string& text);

}  // namespace morvane
