#include "exchange.h"

#include <algorithm>

namespace morvane {

namespace {

constexpr std::chrono::milliseconds kFirstWait{500};
constexpr std::chrono::milliseconds kLongestWait{4000};

// An agent that refuses SNMPv2c may say so in SNMPv1; an answer in a later version than the
// request's answers nothing.
bool Matches(const Message& response, const Message& request) {
  return response.pdu_type == PduType::kResponse && response.request_id == request.request_id &&
         response.community == request.community &&
         static_cast<int32_t>(response.version) <= static_cast<int32_t>(request.version);
}

}  // namespace

ExchangeStatus Exchange(UdpSocket& socket, const Message& request, Clock::time_point give_up,
                        Message* response) {
  const std::string datagram = EncodeMessage(request);
  std::string received;
  for (std::chrono::milliseconds wait = kFirstWait; Clock::now() < give_up;
       wait = std::min(wait * 2, kLongestWait)) {
    if (!socket.Send(datagram)) return ExchangeStatus::kSocketFailed;
    const Clock::time_point retry = std::min(Clock::now() + wait, give_up);
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          retry - Clock::now() + std::chrono::microseconds(999));
      if (left.count() <= 0) break;
      const ReceiveStatus status = socket.Receive(static_cast<int>(left.count()), &received);
      if (status == ReceiveStatus::kFailed) return ExchangeStatus::kSocketFailed;
      if (status == ReceiveStatus::kTimeout) break;
      std::optional<Message> decoded =
          DecodeMessage(reinterpret_cast<const unsigned char*>(received.data()), received.size());
      if (decoded && Matches(*decoded, request)) {
        *response = std::move(*decoded);
        return ExchangeStatus::kAnswered;
      }
    }
  }
  return ExchangeStatus::kNoAnswer;
}

}  // namespace morvane
