// Walking one column of a table: GetBulk in SNMPv2c, GetNext in SNMPv1.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "exchange.h"

namespace morvane {

// What the walks of one query share.
struct WalkSession {
  UdpSocket* socket;
  std::string community;
  SnmpVersion version;
  int32_t next_request_id;
  Clock::time_point deadline;
  // Until the device has answered once, the version is on trial and may use the time up to here.
  Clock::time_point trial_deadline;
  bool answered = false;
  int max_repetitions = 50;
  int requests = 0;
};

enum class WalkStatus {
  kComplete,
  kNoAnswer,
  kVersionRefused,  // answered in another version: the device does not speak ours
  kFailed,
};

struct WalkResult {
  WalkStatus status = WalkStatus::kComplete;
  std::string failure;  // why, unless complete
  size_t instances = 0;
};

// Takes each instance of the column, in the device's order, as its response arrives: a table of
// thousands of sockets is never held twice.
using InstanceSink = std::function<void(const VarBind&)>;

// Caps what a device that never ends its table can make a walk hold.
constexpr size_t kMaxWalkRows = 1000000;

WalkResult WalkColumn(WalkSession& session, const Oid& column, const InstanceSink& take);

}  // namespace morvane
