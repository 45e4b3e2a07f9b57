// A private net-snmp snmpd for one test: loopback only, on a free port, with a configuration of
// its own; stopped when the object goes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "test_temporary_directory.h"

namespace morvane {

class TestAgent {
 public:
  // `v1_only`: the agent drops SNMPv2c requests, as an agent that speaks only SNMPv1 does.
  TestAgent(const std::string& community, bool v1_only);
  ~TestAgent();

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

// Standard output of a shell command.
std::string CommandOutput(const std::string& command);

}  // namespace morvane
