#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <cstring>

#include "udp_socket.h"

// The Windows SDK has it in mstcpip.h; mingw-w64's headers lack it.
#ifndef SIO_UDP_CONNRESET
#define SIO_UDP_CONNRESET _WSAIOW(IOC_VENDOR, 12)
#endif

namespace morvane {

namespace {

constexpr size_t kLargestDatagram = 65536;

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

}  // namespace

NetworkScope::NetworkScope() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
}

NetworkScope::~NetworkScope() { WSACleanup(); }

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

UdpSocket::UdpSocket(const PeerAddress& peer)
    : peer_(peer),
      handle_(socket(AsSockaddr(peer)->sa_family, SOCK_DGRAM, IPPROTO_UDP)),
      receive_buffer_(kLargestDatagram, '\0') {
  // Without this a port-unreachable from an earlier datagram fails every later receive.
  BOOL report_resets = FALSE;
  DWORD returned = 0;
  if (IsOpen()) {
    WSAIoctl(handle_, SIO_UDP_CONNRESET, &report_resets, sizeof report_resets, nullptr, 0,
             &returned, nullptr, nullptr);
  }
}

UdpSocket::~UdpSocket() {
  if (IsOpen()) closesocket(handle_);
}

bool UdpSocket::IsOpen() const { return handle_ != INVALID_SOCKET; }

bool UdpSocket::Send(const std::string& datagram) {
  return sendto(handle_, datagram.data(), static_cast<int>(datagram.size()), 0, AsSockaddr(peer_),
                static_cast<int>(peer_.bytes.size())) == static_cast<int>(datagram.size());
}

ReceiveStatus UdpSocket::Receive(int wait_ms, std::string* datagram) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point give_up = Clock::now() + std::chrono::milliseconds(wait_ms);
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(give_up - Clock::now()).count();
    if (left <= 0) return ReceiveStatus::kTimeout;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(handle_, &readable);
    timeval timeout{static_cast<long>(left / 1000), static_cast<long>(left % 1000 * 1000)};
    const int ready = select(0, &readable, nullptr, nullptr, &timeout);
    if (ready == SOCKET_ERROR) return ReceiveStatus::kFailed;
    if (ready == 0) return ReceiveStatus::kTimeout;
    sockaddr_storage source{};
    int source_length = sizeof source;
    const int received =
        recvfrom(handle_, &receive_buffer_[0], static_cast<int>(receive_buffer_.size()), 0,
                 reinterpret_cast<sockaddr*>(&source), &source_length);
    if (received == SOCKET_ERROR && WSAGetLastError() == WSAECONNRESET) continue;
    if (received == SOCKET_ERROR) return ReceiveStatus::kFailed;
    if (!SameEndpoint(source, peer_)) continue;
    datagram->assign(receive_buffer_.data(), static_cast<size_t>(received));
    return ReceiveStatus::kDatagram;
  }
}

}  // namespace morvane
