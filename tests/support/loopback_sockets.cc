#include "support/loopback_sockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace kestrova_test {

namespace {

uint16_t PortOf(int descriptor) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.ss_family == AF_INET ? reinterpret_cast<sockaddr_in*>(&address)->sin_port
                                            : reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
}

}  // namespace

LoopbackSockets::LoopbackSockets() {
  sockaddr_in ipv4{};
  ipv4.sin_family = AF_INET;
  ipv4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  sockaddr_in6 ipv6{};
  ipv6.sin6_family = AF_INET6;
  ipv6.sin6_addr = in6addr_loopback;
  const std::pair<int, const sockaddr*> families[] = {
      {AF_INET, reinterpret_cast<const sockaddr*>(&ipv4)},
      {AF_INET6, reinterpret_cast<const sockaddr*>(&ipv6)}};
  for (const auto& [family, any_port] : families) {
    const socklen_t length = family == AF_INET ? sizeof ipv4 : sizeof ipv6;
    const int listener = socket(family, SOCK_STREAM, 0);
    if (listener < 0 || bind(listener, any_port, length) != 0 || listen(listener, 4) != 0) {
      if (listener >= 0) close(listener);
      continue;
    }
    sockaddr_storage target{};
    socklen_t target_length = sizeof target;
    getsockname(listener, reinterpret_cast<sockaddr*>(&target), &target_length);
    const int client = socket(family, SOCK_STREAM, 0);
    // Bound before connecting: connect alone may pick a port that a connection of some other test,
    // closed and in TIME_WAIT, still shows, and the agent's table would name that port twice.
    bind(client, any_port, length);
    connect(client, reinterpret_cast<sockaddr*>(&target), target_length);
    const int server = accept(listener, nullptr, nullptr);
    descriptors_.insert(descriptors_.end(), {listener, client, server});
    connections.push_back(LoopbackConnection{PortOf(listener), PortOf(client)});
  }
}

LoopbackSockets::~LoopbackSockets() {
  for (int descriptor : descriptors_) close(descriptor);
}

}  // namespace kestrova_test
