// What the POSIX and Windows sockets share: the system's address structures and resolver.
#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <cstring>

#include "peer_address.h"

namespace morvane {

const sockaddr* AsSockaddr(const PeerAddress& peer) {
  return reinterpret_cast<const sockaddr*>(peer.bytes.data());
}

bool SameEndpoint(const sockaddr_storage& source, const PeerAddress& peer) {
  const sockaddr* expected = AsSockaddr(peer);
  if (source.ss_family != expected->sa_family) return false;
  if (source.ss_family == AF_INET) {
    const auto* a = reinterpret_cast<const sockaddr_in*>(&source);
    const auto* b = reinterpret_cast<const sockaddr_in*>(expected);
    return a->sin_port == b->sin_port && a->sin_addr.s_addr == b->sin_addr.s_addr;
  }
  if (source.ss_family == AF_INET6) {
    const auto* a = reinterpret_cast<const sockaddr_in6*>(&source);
    const auto* b = reinterpret_cast<const sockaddr_in6*>(expected);
    return a->sin6_port == b->sin6_port &&
           std::memcmp(&a->sin6_addr, &b->sin6_addr, sizeof a->sin6_addr) == 0;
  }
  return false;
}

std::optional<PeerAddress> ResolvePeer(const std::string& host, uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return {};
  PeerAddress peer;
  peer.bytes.assign(reinterpret_cast<const char*>(found->ai_addr), found->ai_addrlen);
  freeaddrinfo(found);
  return peer;
}

}  // namespace morvane
