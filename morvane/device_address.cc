#include "device_address.h"

namespace morvane {

static bool ParsePort(const std::string& digits, uint16_t* port) {
  if (digits.empty() || digits.size() > 5) return false;
  unsigned long value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned long>(c - '0');
  }
  if (value == 0 || value > 65535) return false;
  *port = static_cast<uint16_t>(value);
  return true;
}

std::optional<DeviceAddress> ParseDeviceAddress(const std::string& text) {
  DeviceAddress address;
  if (!text.empty() && text[0] == '[') {
    const size_t close = text.find(']');
    if (close == std::string::npos || close == 1) return {};
    address.host = text.substr(1, close - 1);
    const std::string rest = text.substr(close + 1);
    if (!rest.empty() && (rest[0] != ':' || !ParsePort(rest.substr(1), &address.port))) return {};
    return address;
  }
  const size_t colon = text.find(':');
  if (colon != std::string::npos && text.find(':', colon + 1) != std::string::npos) {
    address.host = text;  // a bare IPv6 address: its colons are not a port separator
    return address;
  }
  address.host = text.substr(0, colon);
  if (address.host.empty()) return {};
  if (colon != std::string::npos && !ParsePort(text.substr(colon + 1), &address.port)) return {};
  return address;
}

}  // namespace morvane
