#include "walk.h"

#include <algorithm>

namespace morvane {

namespace {

bool IsUnder(const Oid& name, const Oid& column) {
  return name.size() > column.size() && std::equal(column.begin(), column.end(), name.begin());
}

bool EndsWalk(const VarBind& varbind, const Oid& column) {
  switch (varbind.value.type) {
    case ValueType::kEndOfMibView:
    case ValueType::kNoSuchObject:
    case ValueType::kNoSuchInstance:
      return true;
    default:
      return !IsUnder(varbind.name, column);
  }
}

Message NextRequest(WalkSession& session, const Oid& from) {
  Message request;
  request.version = session.version;
  request.community = session.community;
  request.request_id = session.next_request_id++;
  if (session.version == SnmpVersion::kV2c) {
    request.pdu_type = PduType::kGetBulkRequest;
    request.error_index = session.max_repetitions;
  } else {
    request.pdu_type = PduType::kGetNextRequest;
  }
  request.varbinds.push_back(VarBind{from, Value{}});
  return request;
}

WalkResult Failed(WalkStatus status, const std::string& why) {
  WalkResult result;
  result.status = status;
  result.failure = why;
  return result;
}

}  // namespace

WalkResult WalkColumn(WalkSession& session, const Oid& column, const InstanceSink& take) {
  WalkResult result;
  Oid last = column;
  for (;;) {
    const Message request = NextRequest(session, last);
    const Clock::time_point give_up = session.answered ? session.deadline : session.trial_deadline;
    Message response;
    ++session.requests;
    switch (Exchange(*session.socket, request, give_up, &response)) {
      case ExchangeStatus::kAnswered:
        break;
      case ExchangeStatus::kNoAnswer:
        return Failed(WalkStatus::kNoAnswer, "no answer");
      case ExchangeStatus::kSocketFailed:
        return Failed(WalkStatus::kFailed, "socket error");
    }
    if (response.version != request.version) {
      return Failed(WalkStatus::kVersionRefused, "answered in another SNMP version");
    }
    session.answered = true;
    if (response.error_status == kTooBig && request.pdu_type == PduType::kGetBulkRequest &&
        session.max_repetitions > 1) {
      session.max_repetitions /= 2;
      continue;
    }
    if (response.error_status == kNoSuchName && session.version == SnmpVersion::kV1) return result;
    if (response.error_status == kTooBig) return Failed(WalkStatus::kFailed, "response too big");
    if (response.error_status != kNoError) {
      return Failed(WalkStatus::kFailed,
                    "SNMP error-status " + std::to_string(response.error_status));
    }
    if (response.varbinds.empty()) return Failed(WalkStatus::kFailed, "response without values");
    if (request.pdu_type == PduType::kGetNextRequest && response.varbinds.size() != 1) {
      return Failed(WalkStatus::kFailed, "GetNext answered with several values");
    }
    for (VarBind& varbind : response.varbinds) {
      if (EndsWalk(varbind, column)) return result;
      if (!(last < varbind.name)) {
        return Failed(WalkStatus::kFailed, "object identifier does not increase");
      }
      if (result.instances >= kMaxWalkRows) {
        return Failed(WalkStatus::kFailed, "table does not end");
      }
      last = varbind.name;
      take(varbind);
      ++result.instances;
    }
  }
}

}  // namespace morvane
