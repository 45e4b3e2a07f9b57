// One request and its response: retransmission with back-off until a deadline.
#pragma once

#include <chrono>

#include "snmp_message.h"
#include "udp_socket.h"

namespace morvane {

using Clock = std::chrono::steady_clock;

enum class ExchangeStatus { kAnswered, kNoAnswer, kSocketFailed };

// Sends `request` and waits for a response with its request id and community, sending it again
// after 0.5 s, then 1 s, 2 s and 4 s at most between tries, until `give_up`. Datagrams that do not
// match are dropped; a response in an earlier version than the request's is left for the caller
// to judge.
ExchangeStatus Exchange(UdpSocket& socket, const Message& request, Clock::time_point give_up,
                        Message* response);

}  // namespace morvane
