#include "support/snmp_agent.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace kestrova_test {

namespace {

std::string Configuration(const std::string& community, bool v1_only) {
  if (!v1_only)
    return "rocommunity " + community + " 127.0.0.1\nrocommunity6 " + community + " ::1\n";
  return "com2sec local 127.0.0.1 " + community + "\ncom2sec6 local6 ::1 " + community +
         "\ngroup readers v1 local\ngroup readers v1 local6\nview all included .1\n"
         "access readers \"\" v1 noauth exact all none none\n";
}

std::vector<uint32_t> Numbers(const std::string& dotted) {
  std::vector<uint32_t> numbers;
  std::istringstream in(dotted);
  std::string part;
  while (std::getline(in, part, '.')) {
    if (!part.empty()) numbers.push_back(static_cast<uint32_t>(std::stoul(part)));
  }
  return numbers;
}

}  // namespace

uint16_t FreeUdpPort(bool* ipv6_free) {
  const int v4 = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(v4, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(v4, reinterpret_cast<sockaddr*>(&address), &length);
  const uint16_t port = ntohs(address.sin_port);
  const int v6 = socket(AF_INET6, SOCK_DGRAM, 0);
  sockaddr_in6 address6{};
  address6.sin6_family = AF_INET6;
  address6.sin6_addr = in6addr_loopback;
  address6.sin6_port = htons(port);
  *ipv6_free = v6 >= 0 && bind(v6, reinterpret_cast<sockaddr*>(&address6), sizeof address6) == 0;
  if (v6 >= 0) close(v6);
  close(v4);
  return port;
}

std::string CommandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  size_t size;
  while ((size = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, size);
  pclose(pipe);
  return output;
}

std::set<TcpRow> TcpRowsByTool(const std::string& tool, const std::string& community,
                               const std::string& address) {
  const std::string prefix = tool + " -c " + community + " -On -Oe -M /dev/null " + address + " ";
  std::set<TcpRow> rows;
  std::istringstream listeners(CommandOutput(prefix + ".1.3.6.1.2.1.6.20.1.4 2>/dev/null"));
  for (std::string line; std::getline(listeners, line);) {
    const std::vector<uint32_t> index = Numbers(line.substr(22, line.find(' ') - 22));
    if (index.size() < 3) continue;
    rows.emplace('L', std::to_string(index.back()), "*");
  }
  std::istringstream connections(CommandOutput(prefix + ".1.3.6.1.2.1.6.19.1.7 2>/dev/null"));
  for (std::string line; std::getline(connections, line);) {
    const std::vector<uint32_t> index = Numbers(line.substr(22, line.find(' ') - 22));
    const size_t equals = line.find("INTEGER: ");
    if (index.size() < 6 || equals == std::string::npos) continue;
    const int state = std::stoi(line.substr(equals + 9));
    const size_t local_port = 2 + index[1];
    const std::string port = std::to_string(index[local_port]);
    if (state == 2) {
      rows.emplace('L', port, "*");
    } else {
      rows.emplace("CLSREFGWAKTD"[state - 1], port, std::to_string(index.back()));
    }
  }
  return rows;
}

SnmpAgent::SnmpAgent(const std::string& community, bool v1_only) {
  port_ = FreeUdpPort(&has_ipv6_);
  const std::string directory = directory_.path.string();
  const std::string configuration = directory + "/snmpd.conf";
  std::ofstream(configuration) << Configuration(community, v1_only);
  std::string endpoints = "udp:" + Ipv4Address();
  if (has_ipv6_) endpoints += ",udp6:" + Ipv6Address();
  std::vector<std::string> arguments = {
      "/usr/sbin/snmpd",        "-f", "-C",        "-c",     configuration, "-Lf",
      directory + "/snmpd.log", "-M", "/dev/null", endpoints};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);
  // Its state files go into the test's directory, never into the system's.
  setenv("SNMP_PERSISTENT_DIR", directory.c_str(), 1);
  if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    pid_ = -1;
    failure_ = "cannot start /usr/sbin/snmpd (is net-snmp's snmpd installed?)";
    return;
  }
  const std::string probe = std::string("snmpget ") + (v1_only ? "-v1" : "-v2c") + " -c " +
                            community + " -t 0.2 -r 0 -M /dev/null " + Ipv4Address() +
                            " .1.3.6.1.2.1.1.1.0 >/dev/null 2>&1";
  for (int attempt = 0; attempt < 50; ++attempt) {
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      failure_ = "snmpd ended at start: " + CommandOutput("cat '" + directory + "/snmpd.log'");
      return;
    }
    if (std::system(probe.c_str()) == 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  failure_ = "snmpd did not answer on " + Ipv4Address();
}

SnmpAgent::~SnmpAgent() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status;
  waitpid(pid_, &status, 0);
}

}  // namespace kestrova_test
