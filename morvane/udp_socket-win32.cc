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

}  // namespace

NetworkScope::NetworkScope() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
}

NetworkScope::~NetworkScope() { WSACleanup(); }

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
