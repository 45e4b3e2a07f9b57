// TCP sockets a test opens on loopback so that an agent has known rows to report: a listener and
// one connection to it, for IPv4 and, where the machine allows, IPv6.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrova_test {

struct LoopbackConnection {
  uint16_t listener_port = 0;
  uint16_t client_port = 0;
};

class LoopbackSockets {
 public:
  LoopbackSockets();
  ~LoopbackSockets();
  LoopbackSockets(const LoopbackSockets&) = delete;
  LoopbackSockets& operator=(const LoopbackSockets&) = delete;

  std::vector<LoopbackConnection> connections;  // IPv4 first

 private:
  std::vector<int> descriptors_;
};

}  // namespace kestrova_test
