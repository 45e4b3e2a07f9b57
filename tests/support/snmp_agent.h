// A private net-snmp snmpd for one test: loopback only, on a free port, with a configuration of
// its own; stopped when the object goes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <set>
#include <string>
#include <tuple>

#include "support/temporary_directory.h"

namespace kestrova_test {

class SnmpAgent {
 public:
  // `v1_only`: the agent drops SNMPv2c requests, as an agent that speaks only SNMPv1 does.
  SnmpAgent(const std::string& community, bool v1_only);
  ~SnmpAgent();

  // False, with the reason in `failure`, when the agent did not come up.
  bool running() const { return failure_.empty(); }
  const std::string& failure() const { return failure_; }
  bool has_ipv6() const { return has_ipv6_; }
  uint16_t port() const { return port_; }
  std::string Ipv4Address() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Ipv6Address() const { return "[::1]:" + std::to_string(port_); }

 private:
  TemporaryDirectory directory_;
  pid_t pid_ = -1;
  uint16_t port_ = 0;
  bool has_ipv6_ = false;
  std::string failure_;
};

// A UDP port that is free on 127.0.0.1, and whether it is free on ::1 too.
uint16_t FreeUdpPort(bool* ipv6_free);

// Standard output of a shell command.
std::string CommandOutput(const std::string& command);

// A TCP row as the agent reports it: state letter, local port, and remote port ("*" for a
// listener).
using TcpRow = std::tuple<char, std::string, std::string>;

// The rows net-snmp's walking `tool` ("snmpbulkwalk -v2c -Cr50", "snmpwalk -v1") finds in the
// listener and connection columns at `address`, from the instance indexes of its numeric output.
std::set<TcpRow> TcpRowsByTool(const std::string& tool, const std::string& community,
                               const std::string& address);

}  // namespace kestrova_test
