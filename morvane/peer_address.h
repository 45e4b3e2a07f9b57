// A device's socket address, kept as the system's bytes, and the system's resolver for it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct sockaddr;
struct sockaddr_storage;

namespace morvane {

struct PeerAddress {
  std::string bytes;
};

// The first UDP address of a host (an address text or a name the resolver knows); nothing when
// it has none.
std::optional<PeerAddress> ResolvePeer(const std::string& host, uint16_t port);

const sockaddr* AsSockaddr(const PeerAddress& peer);
// Whether a datagram's source is the peer's address and port.
bool SameEndpoint(const sockaddr_storage& source, const PeerAddress& peer);

}  // namespace morvane
