#include "tcp_tables.h"

#include <unordered_set>

#include "inet_address.h"

namespace morvane {

const Oid kTcpConnectionStateColumn = {1, 3, 6, 1, 2, 1, 6, 19, 1, 7};
const Oid kTcpListenerProcessColumn = {1, 3, 6, 1, 2, 1, 6, 20, 1, 4};
const Oid kTcpConnStateColumn = {1, 3, 6, 1, 2, 1, 6, 13, 1, 1};

namespace {

constexpr int64_t kListenState = 2;

// A socket's identity as one text; each address carries its length, so no two sockets share one.
std::string SocketKey(const SocketRow& row) {
  std::string key;
  key.reserve(8 + row.local_address.size() + row.remote_address.size());
  key += row.listener ? 'L' : 'C';
  for (const std::string* address : {&row.local_address, &row.remote_address}) {
    key += static_cast<char>(address->size() & 0xff);
    key += static_cast<char>(address->size() >> 8);
    key += *address;
  }
  for (uint16_t port : {row.local_port, row.remote_port}) {
    key += static_cast<char>(port & 0xff);
    key += static_cast<char>(port >> 8);
  }
  return key;
}

// Reads one index component at `position`, moving past it.
bool TakeNumber(const Oid& index, size_t& position, uint32_t max, uint32_t* value) {
  if (position >= index.size() || index[position] > max) return false;
  *value = index[position++];
  return true;
}

bool TakeBytes(const Oid& index, size_t& position, size_t count, std::string* bytes) {
  if (index.size() - position < count) return false;
  bytes->clear();
  for (size_t i = 0; i < count; ++i) {
    if (index[position + i] > 255) return false;
    *bytes += static_cast<char>(index[position + i]);
  }
  position += count;
  return true;
}

// An InetAddressType, InetAddress and port, as an index carries them.
bool TakeEndpoint(const Oid& index, size_t& position, std::string* address, uint16_t* port) {
  uint32_t type, length, port_number;
  std::string bytes;
  if (!TakeNumber(index, position, 255, &type) || !TakeNumber(index, position, 255, &length) ||
      !TakeBytes(index, position, length, &bytes) ||
      !TakeNumber(index, position, 65535, &port_number)) {
    return false;
  }
  const std::optional<std::string> text = FormatInetAddress(type, bytes);
  if (!text) return false;
  *address = *text;
  *port = static_cast<uint16_t>(port_number);
  return true;
}

bool TakeIpv4Endpoint(const Oid& index, size_t& position, std::string* address, uint16_t* port) {
  std::string bytes;
  uint32_t port_number;
  if (!TakeBytes(index, position, 4, &bytes) || !TakeNumber(index, position, 65535, &port_number)) {
    return false;
  }
  *address = *FormatInetAddress(kInetIpv4, bytes);
  *port = static_cast<uint16_t>(port_number);
  return true;
}

void MarkListener(SocketRow& row) {
  row.listener = true;
  row.state = 'L';
  row.remote_address.clear();
  row.remote_port = 0;
}

}  // namespace

char StateLetter(int64_t state) {
  static const char kLetters[] = "CLSREFGWAKTD";
  return state >= 1 && state <= 12 ? kLetters[state - 1] : '?';
}

std::optional<SocketRow> ConnectionRow(const Oid& index, int64_t state) {
  SocketRow row;
  size_t position = 0;
  if (!TakeEndpoint(index, position, &row.local_address, &row.local_port) ||
      !TakeEndpoint(index, position, &row.remote_address, &row.remote_port) ||
      position != index.size()) {
    return {};
  }
  row.state = StateLetter(state);
  if (state == kListenState) MarkListener(row);
  return row;
}

std::optional<SocketRow> ListenerRow(const Oid& index) {
  SocketRow row;
  size_t position = 0;
  if (!TakeEndpoint(index, position, &row.local_address, &row.local_port) ||
      position != index.size()) {
    return {};
  }
  MarkListener(row);
  return row;
}

std::optional<SocketRow> OldConnectionRow(const Oid& index, int64_t state) {
  SocketRow row;
  size_t position = 0;
  if (!TakeIpv4Endpoint(index, position, &row.local_address, &row.local_port) ||
      !TakeIpv4Endpoint(index, position, &row.remote_address, &row.remote_port) ||
      position != index.size()) {
    return {};
  }
  row.state = StateLetter(state);
  if (state == kListenState) MarkListener(row);
  return row;
}

std::vector<SocketRow> MergeRows(const std::vector<SocketRow>& listeners,
                                 const std::vector<SocketRow>& connections) {
  // Hashed: a device with tens of thousands of sockets must not pay a tree of string tuples.
  std::unordered_set<std::string> seen;
  seen.reserve(listeners.size() + connections.size());
  std::vector<SocketRow> merged;
  auto add = [&](const SocketRow& row) {
    if (seen.insert(SocketKey(row)).second) merged.push_back(row);
  };
  for (const SocketRow& row : listeners) add(row);
  for (const SocketRow& row : connections) {
    if (row.listener) add(row);
  }
  for (const SocketRow& row : connections) {
    if (!row.listener) add(row);
  }
  return merged;
}

}  // namespace morvane
