// UDP to one device through the system's sockets: BSD sockets on POSIX, Winsock on Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "peer_address.h"

namespace morvane {

// Holds the system's socket library while it lives: Winsock's start-up and clean-up; nothing on
// POSIX. Every other function here needs one.
struct NetworkScope {
  NetworkScope();
  ~NetworkScope();
  NetworkScope(const NetworkScope&) = delete;
  NetworkScope& operator=(const NetworkScope&) = delete;
};

enum class ReceiveStatus { kDatagram, kTimeout, kFailed };

// One socket for the whole query, talking to one peer.
class UdpSocket {
 public:
  explicit UdpSocket(const PeerAddress& peer);
  ~UdpSocket();
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  bool IsOpen() const;
  bool Send(const std::string& datagram);
  // Waits at most `wait_ms` for a datagram from the peer's address and port; datagrams from
  // anywhere else are dropped.
  ReceiveStatus Receive(int wait_ms, std::string* datagram);

 private:
  PeerAddress peer_;
  uintptr_t handle_;
  // Room for the largest datagram, made once: a walk receives hundreds.
  std::string receive_buffer_;
};

}  // namespace morvane
