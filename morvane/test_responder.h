// A UDP responder on 127.0.0.1 that answers each decoded request as a test says, from a thread of
// its own. Datagrams it cannot decode get no answer.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "snmp_message.h"

namespace morvane {

struct Reply {
  std::string bytes;
  bool from_other_port = false;  // sent from a second socket of the responder
};

using ReplyFunction = std::function<std::vector<Reply>(const Message& request)>;

class TestResponder {
 public:
  explicit TestResponder(ReplyFunction reply);
  ~TestResponder();

  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
  int requests_seen() const { return requests_seen_; }

 private:
  void Serve();

  ReplyFunction reply_;
  int socket_ = -1;
  int other_socket_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_seen_{0};
  std::thread thread_;
};

// A response to `request` with the given varbinds and error status.
Message ResponseTo(const Message& request, std::vector<VarBind> varbinds, int32_t error_status = 0);

}  // namespace morvane
