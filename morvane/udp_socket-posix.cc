#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "udp_socket.h"

namespace morvane {

namespace {

constexpr uintptr_t kNoSocket = ~uintptr_t{0};
constexpr size_t kLargestDatagram = 65536;

}  // namespace

NetworkScope::NetworkScope() = default;
NetworkScope::~NetworkScope() = default;

UdpSocket::UdpSocket(const PeerAddress& peer)
    : peer_(peer), handle_(kNoSocket), receive_buffer_(kLargestDatagram, '\0') {
  const int descriptor = socket(AsSockaddr(peer)->sa_family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (descriptor >= 0) handle_ = static_cast<uintptr_t>(descriptor);
}

UdpSocket::~UdpSocket() {
  if (IsOpen()) close(static_cast<int>(handle_));
}

bool UdpSocket::IsOpen() const { return handle_ != kNoSocket; }

bool UdpSocket::Send(const std::string& datagram) {
  return sendto(static_cast<int>(handle_), datagram.data(), datagram.size(), 0, AsSockaddr(peer_),
                static_cast<socklen_t>(peer_.bytes.size())) ==
         static_cast<ssize_t>(datagram.size());
}

ReceiveStatus UdpSocket::Receive(int wait_ms, std::string* datagram) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point give_up = Clock::now() + std::chrono::milliseconds(wait_ms);
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(give_up - Clock::now()).count();
    if (left <= 0) return ReceiveStatus::kTimeout;
    pollfd poll_entry{static_cast<int>(handle_), POLLIN, 0};
    const int ready = poll(&poll_entry, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return ReceiveStatus::kFailed;
    if (ready == 0) return ReceiveStatus::kTimeout;
    sockaddr_storage source{};
    socklen_t source_length = sizeof source;
    const ssize_t received =
        recvfrom(static_cast<int>(handle_), &receive_buffer_[0], receive_buffer_.size(), 0,
                 reinterpret_cast<sockaddr*>(&source), &source_length);
    // A refused earlier datagram (ICMP) says nothing about the answer still to come.
    if (received < 0 && (errno == EINTR || errno == ECONNREFUSED)) continue;
    if (received < 0) return ReceiveStatus::kFailed;
    if (!SameEndpoint(source, peer_)) continue;
    datagram->assign(receive_buffer_.data(), static_cast<size_t>(received));
    return ReceiveStatus::kDatagram;
  }
}

}  // namespace morvane
