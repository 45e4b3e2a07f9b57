// The TCP tables of a device (TCP-MIB): which columns a walk reads and how an instance index
// becomes a socket.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ber.h"

namespace morvane {

// tcpConnectionState: one row per connection, IPv4 and IPv6.
extern const Oid kTcpConnectionStateColumn;
// tcpListenerProcess: one row per listener; every accessible column of the table would do.
extern const Oid kTcpListenerProcessColumn;
// tcpConnState of the old IPv4-only tcpConnTable, for devices without the modern tables.
extern const Oid kTcpConnStateColumn;

struct SocketRow {
  char state = '?';
  bool listener = false;
  std::string local_address;
  uint16_t local_port = 0;
  std::string remote_address;  // empty for a listener
  uint16_t remote_port = 0;
};

// The letter of a tcpConnectionState or tcpConnState value; "?" for values the MIB does not know.
char StateLetter(int64_t state);

// Each takes the instance index, the part of the OID after the column. Nothing when the index is
// malformed. A connection in the listen state is a listener.
std::optional<SocketRow> ConnectionRow(const Oid& index, int64_t state);
std::optional<SocketRow> ListenerRow(const Oid& index);
std::optional<SocketRow> OldConnectionRow(const Oid& index, int64_t state);

// Listeners first, then connections, each in the order given; a socket reported twice is kept
// once, at its first place.
std::vector<SocketRow> MergeRows(const std::vector<SocketRow>& listeners,
                                 const std::vector<SocketRow>& connections);

}  // namespace morvane
