#include "test_responder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace morvane {

namespace {

int LoopbackSocket(uint16_t* port) {
  const int descriptor = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(descriptor, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length);
  *port = ntohs(address.sin_port);
  return descriptor;
}

}  // namespace

TestResponder::TestResponder(ReplyFunction reply) : reply_(std::move(reply)) {
  uint16_t other_port;
  socket_ = LoopbackSocket(&port_);
  other_socket_ = LoopbackSocket(&other_port);
  thread_ = std::thread(&TestResponder::Serve, this);
}

TestResponder::~TestResponder() {
  stop_ = true;
  thread_.join();
  close(socket_);
  close(other_socket_);
}

void TestResponder::Serve() {
  std::string buffer(65536, '\0');
  while (!stop_) {
    pollfd entry{socket_, POLLIN, 0};
    if (poll(&entry, 1, 50) <= 0) continue;
    sockaddr_storage source{};
    socklen_t source_length = sizeof source;
    const ssize_t size = recvfrom(socket_, &buffer[0], buffer.size(), 0,
                                  reinterpret_cast<sockaddr*>(&source), &source_length);
    if (size <= 0) continue;
    ++requests_seen_;
    const std::optional<Message> request = DecodeMessage(
        reinterpret_cast<const unsigned char*>(buffer.data()), static_cast<size_t>(size));
    if (!request) continue;
    for (const Reply& reply : reply_(*request)) {
      sendto(reply.from_other_port ? other_socket_ : socket_, reply.bytes.data(),
             reply.bytes.size(), 0, reinterpret_cast<sockaddr*>(&source), source_length);
    }
  }
}

Message ResponseTo(const Message& request, std::vector<VarBind> varbinds, int32_t error_status) {
  Message response = request;
  response.pdu_type = PduType::kResponse;
  response.error_status = error_status;
  response.error_index = 0;
  response.varbinds = std::move(varbinds);
  return response;
}

}  // namespace morvane
