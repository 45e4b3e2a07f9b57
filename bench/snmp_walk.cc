// The walk of a device's TCP table against net-snmp's own tools, on a private snmpd over loopback
// with N TCP sockets (connected pairs) opened by the benchmark: N = 100 and 10,000. In one run,
// alternately, several rounds of: morvane's query, `snmpbulkwalk -v2c -Cr50` of the connection
// state column plus the listener table, `snmpnetstat -v2c -Cn -Ca -Cp tcp`, and a whole kestrova
// run in Profiler mode. Reports medians and the ratios against the fastest of net-snmp's tools,
// and the kestrova run's own processor time and peak memory.
//   build/<preset>/bench/bench_snmp_walk   (needs snmpd, snmpbulkwalk, snmpnetstat)
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "query.h"
#include "support/snmp_agent.h"
#include "support/temporary_directory.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char kCommunity[] = "bench";
const int kRounds = 7;

// Closes what it holds when the benchmark ends, also by an exception.
class Descriptors {
 public:
  ~Descriptors() {
    for (int descriptor : descriptors_) close(descriptor);
  }
  void Add(int descriptor) { descriptors_.push_back(descriptor); }

 private:
  std::vector<int> descriptors_;
};

void RaiseDescriptorLimit(rlim_t wanted) {
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  if (limit.rlim_cur >= wanted) return;
  if (limit.rlim_max < wanted) {
    throw std::runtime_error("the descriptor limit " + std::to_string(limit.rlim_max) +
                             " is below " + std::to_string(wanted));
  }
  limit.rlim_cur = wanted;
  setrlimit(RLIMIT_NOFILE, &limit);
}

// One listener on 127.0.0.1 and connected pairs to it, `sockets` sockets in all. Not inherited: a
// child started with thousands of open descriptors pays for them at its start and its exit.
void OpenConnectedPairs(int sockets, Descriptors& descriptors) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  descriptors.Add(listener);
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listener, 128) != 0) {
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  for (int pair = 0; pair < sockets / 2; ++pair) {
    const int client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    descriptors.Add(client);
    if (connect(client, reinterpret_cast<sockaddr*>(&address), length) != 0) {
      throw std::runtime_error("connection " + std::to_string(pair) + " failed");
    }
    const int server = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (server < 0) throw std::runtime_error("accept failed");
    descriptors.Add(server);
  }
}

struct ChildResult {
  double seconds = 0;
  double cpu_ms = 0;
  double peak_mb = 0;
};

ChildResult RunChild(std::vector<std::string> arguments, const std::string& directory = "") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);
  const fs::path before = fs::current_path();
  if (!directory.empty()) fs::current_path(directory);
  const Clock::time_point start = Clock::now();
  pid_t pid;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  fs::current_path(before);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + arguments[0]);
  int status;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  ChildResult result;
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  result.cpu_ms = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                  (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  result.peak_mb = usage.ru_maxrss / 1024.0;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error(arguments[0] + " failed");
  }
  return result;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Measure(int sockets, const fs::path& build) {
  kestrova_test::TemporaryDirectory directory;
  Descriptors descriptors;
  OpenConnectedPairs(sockets, descriptors);
  // snmpd reads the system's TCP tables when it starts, so the sockets are open before.
  const kestrova_test::SnmpAgent snmpd(kCommunity, false);
  if (!snmpd.running()) throw std::runtime_error(snmpd.failure());
  const std::string address = snmpd.Ipv4Address();
  const fs::path sensors = directory.path / "sensors";
  fs::create_directories(sensors);
  std::ofstream(sensors / "Kestrova.Host") << "Xml\r\n";
  std::ofstream(sensors / "Profiler.Prf")
      << "IP-Addr....: " << address << "\r\nCommunity..: " << kCommunity << "\r\n";
  const std::string table_file = (directory.path / "walk.Xxx").string();
  const std::vector<std::string> options = {"-v2c", "-c", kCommunity, "-M", "/dev/null"};
  auto tool = [&](std::vector<std::string> command, std::vector<std::string> tail) {
    command.insert(command.end(), options.begin(), options.end());
    command.push_back(address);
    command.insert(command.end(), tail.begin(), tail.end());
    return command;
  };

  std::vector<double> walk, bulkwalk, netstat, run, run_cpu, run_memory;
  std::string status;
  for (int round = 0; round < kRounds; ++round) {
    const Clock::time_point start = Clock::now();
    const morvane::QueryOutcome outcome = morvane::RunQuery(address, kCommunity, 10, table_file);
    walk.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    if (!outcome.ok) throw std::runtime_error(outcome.status);
    status = outcome.status;
    bulkwalk.push_back(
        RunChild(tool({"snmpbulkwalk", "-Cr50"}, {".1.3.6.1.2.1.6.19.1.7"})).seconds +
        RunChild(tool({"snmpbulkwalk", "-Cr50"}, {".1.3.6.1.2.1.6.20"})).seconds);
    netstat.push_back(RunChild(tool({"snmpnetstat", "-Cn", "-Ca", "-Cp", "tcp"}, {})).seconds);
    const ChildResult kestrova =
        RunChild({(build / "kestrova").string(), "Profiler.Prf", "Slct=All"}, sensors.string());
    run.push_back(kestrova.seconds);
    run_cpu.push_back(kestrova.cpu_ms);
    run_memory.push_back(kestrova.peak_mb);
  }

  const double fastest_tool = std::min(Median(bulkwalk), Median(netstat));
  std::printf("%d sockets (%s), median of %d rounds:\n", sockets, status.c_str(), kRounds);
  std::printf("  snmpbulkwalk -v2c -Cr50 (state column + listener table) %8.4f s\n",
              Median(bulkwalk));
  std::printf("  snmpnetstat -v2c -Cn -Ca -Cp tcp                         %8.4f s\n",
              Median(netstat));
  std::printf("  our walk (morvane::RunQuery)                             %8.4f s  ratio %.2f\n",
              Median(walk), Median(walk) / fastest_tool);
  std::printf(
      "  kestrova run, Profiler mode                              %8.4f s  ratio %.2f, %.2f x "
      "our walk\n",
      Median(run), Median(run) / fastest_tool, Median(run) / Median(walk));
  std::printf(
      "  kestrova run: processor time %.1f ms, peak memory %.1f MB (medians; max %.1f ms, %.1f "
      "MB)\n",
      Median(run_cpu), Median(run_memory), *std::max_element(run_cpu.begin(), run_cpu.end()),
      *std::max_element(run_memory.begin(), run_memory.end()));
}

}  // namespace

int main() {
  try {
    // The build directory: kestrova and Morvane.Dll lie one level above this program.
    const fs::path build = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    RaiseDescriptorLimit(10000 + 64);
    for (int sockets : {100, 10000}) Measure(sockets, build);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "bench_snmp_walk: %s\n", failure.what());
    return 1;
  }
  return 0;
}
