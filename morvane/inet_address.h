// Text forms of the addresses the TCP tables carry (InetAddressType and InetAddress, RFC 4001).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

enum InetAddressType : uint32_t {
  kInetUnknown = 0,
  kInetIpv4 = 1,
  kInetIpv6 = 2,
  kInetIpv4z = 3,
  kInetIpv6z = 4,
};

// Dotted IPv4, IPv6 as RFC 5952 writes it, a zone as "%n", and "" for unknown(0) with no bytes.
// Nothing when the type is another or the byte count does not fit it.
std::optional<std::string> FormatInetAddress(uint32_t type, const std::string& bytes);

// "address:port"; IPv6 in brackets.
std::string FormatEndpoint(const std::string& address, uint16_t port);

}  // namespace morvane
