#include "query.h"

#include <random>
#include <set>

#include "device_address.h"
#include "service_names.h"
#include "table_file.h"
#include "tcp_tables.h"
#include "udp_socket.h"
#include "walk.h"
#include "whole_file.h"

namespace morvane {

namespace {

struct TablesResult {
  WalkStatus status = WalkStatus::kComplete;
  std::string failure;
  std::vector<SocketRow> rows;
};

Oid IndexOf(const Oid& name, const Oid& column) {
  return Oid(name.begin() + column.size(), name.end());
}

int64_t StateOf(const Value& value) {
  return value.type == ValueType::kInteger ? value.integer : 0;
}

// Walks `column` into `rows`: one row for each instance that makes one.
template <typename MakeRow>
WalkResult WalkRows(WalkSession& session, const Oid& column, MakeRow make_row,
                    std::vector<SocketRow>& rows) {
  return WalkColumn(session, column, [&](const VarBind& varbind) {
    std::optional<SocketRow> row = make_row(IndexOf(varbind.name, column), StateOf(varbind.value));
    if (row) rows.push_back(std::move(*row));
  });
}

TablesResult WalkTables(WalkSession& session) {
  std::vector<SocketRow> listeners, connections;
  const auto listener_row = [](const Oid& index, int64_t) { return ListenerRow(index); };
  WalkResult walk = WalkRows(session, kTcpListenerProcessColumn, listener_row, listeners);
  if (walk.status == WalkStatus::kComplete) {
    walk = WalkRows(session, kTcpConnectionStateColumn, ConnectionRow, connections);
  }
  if (walk.status == WalkStatus::kComplete && listeners.empty() && connections.empty()) {
    walk = WalkRows(session, kTcpConnStateColumn, OldConnectionRow, connections);
  }
  if (walk.status != WalkStatus::kComplete) return {walk.status, walk.failure, {}};
  return {WalkStatus::kComplete, "", MergeRows(listeners, connections)};
}

const char* VersionName(SnmpVersion version) {
  return version == SnmpVersion::kV2c ? "SNMPv2c" : "SNMPv1";
}

QueryOutcome Failure(const std::string& address, const std::string& table_file,
                     const std::string& why) {
  WriteFileWhole(table_file, NoteLine("Query of \"" + address + "\" failed: " + why));
  return QueryOutcome{false, "Query failed: " + why};
}

int32_t FirstRequestId() {
  std::random_device random;
  return static_cast<int32_t>(random() & 0x3FFFFFFF);
}

}  // namespace

QueryOutcome RunQuery(const std::string& address, const std::string& community, int budget_seconds,
                      const std::string& table_file) {
  const Clock::time_point start = Clock::now();
  const std::chrono::milliseconds budget(budget_seconds * 1000);
  NetworkScope network;
  const std::optional<DeviceAddress> device = ParseDeviceAddress(address);
  if (!device) return Failure(address, table_file, "no valid device address");
  const std::optional<PeerAddress> peer = ResolvePeer(device->host, device->port);
  if (!peer) return Failure(address, table_file, "cannot resolve " + device->host);
  UdpSocket socket(*peer);
  if (!socket.IsOpen()) return Failure(address, table_file, "cannot open a UDP socket");

  // SNMPv2c may use half the budget to get its first answer; SNMPv1 gets the rest.
  WalkSession session{&socket,          community,      SnmpVersion::kV2c,
                      FirstRequestId(), start + budget, start + budget / 2};
  TablesResult tables = WalkTables(session);
  if (!session.answered &&
      (tables.status == WalkStatus::kNoAnswer || tables.status == WalkStatus::kVersionRefused)) {
    session.version = SnmpVersion::kV1;
    session.trial_deadline = session.deadline;
    tables = WalkTables(session);
  }
  if (tables.status == WalkStatus::kNoAnswer && !session.answered) {
    return Failure(
        address, table_file,
        "no answer to SNMPv2c or SNMPv1 within " + std::to_string(budget_seconds) + " s");
  }
  if (tables.status != WalkStatus::kComplete) {
    return Failure(address, table_file,
                   std::string(VersionName(session.version)) + ": " + tables.failure);
  }

  std::set<uint16_t> ports;
  for (const SocketRow& row : tables.rows) ports.insert(row.local_port);
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  const std::string rows = std::to_string(tables.rows.size()) + " rows";
  const std::string requests = std::to_string(session.requests) + " requests";
  const std::string note = address + " " + VersionName(session.version) + ": " + rows + ", " +
                           requests + ", " + std::to_string(elapsed) + " ms";
  if (!WriteFileWhole(table_file, TableText(note, tables.rows, TcpServiceFields(ports)))) {
    return Failure(address, table_file, "cannot write the table file");
  }
  return QueryOutcome{true, "Query ok: " + rows + " in " + requests};
}

}  // namespace morvane
