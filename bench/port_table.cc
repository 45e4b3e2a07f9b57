// ReadPortTable on generated table files of 10,000, 100,000 and 1,000,000 rows, read from disk with
// standard output thrown away: rows per second, how the time grows with the rows, and peak memory.
//   bench_port_table [directory for the table files, default $TMPDIR or /tmp]
#include "snmp/port_table.h"

#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "output/result_writer.h"
#include "platform/system_platform.h"
#include "run/run_context.h"

namespace kestrova {
namespace {

// The machine's platform, but standard output goes nowhere: the reader is timed, not the terminal.
class DiscardingPlatform : public Platform {
 public:
  explicit DiscardingPlatform(std::unique_ptr<Platform> system) : system_(std::move(system)) {}

  std::string CurrentDirectory() override { return system_->CurrentDirectory(); }
  bool FileExists(const std::string& path) override { return system_->FileExists(path); }
  std::unique_ptr<InputFile> OpenForReading(const std::string& path) override {
    return system_->OpenForReading(path);
  }
  std::unique_ptr<OutputFile> CreateWithReadSharing(const std::string& path) override {
    return system_->CreateWithReadSharing(path);
  }
  bool TruncateFile(const std::string& path) override { return system_->TruncateFile(path); }
  bool RemoveFile(const std::string& path) override { return system_->RemoveFile(path); }
  TimeOfDay LocalTimeOfDay() override { return system_->LocalTimeOfDay(); }
  uint32_t TickCount() override { return system_->TickCount(); }
  void SleepMilliseconds(uint32_t milliseconds) override {
    system_->SleepMilliseconds(milliseconds);
  }
  void WriteStandardOutput(const std::string&) override {}
  void FlushStandardOutput() override {}
  LibraryHandle LoadSharedLibrary(const std::string& name) override {
    return system_->LoadSharedLibrary(name);
  }
  void* FindExport(LibraryHandle library, const char* name) override {
    return system_->FindExport(library, name);
  }
  void UnloadSharedLibrary(LibraryHandle library) override {
    system_->UnloadSharedLibrary(library);
  }
  bool GuardedCall(void (*call)(void* data), void* data) override {
    return system_->GuardedCall(call, data);
  }
  std::unique_ptr<RunLock> AcquireRunLock(const std::string& name,
                                          uint32_t timeout_milliseconds) override {
    return system_->AcquireRunLock(name, timeout_milliseconds);
  }

 private:
  std::unique_ptr<Platform> system_;
};

const char* const kServices[] = {"http, www",  "https",         "ssh",         "smtp, mail",
                                 "domain",     "ms-wbt-server", "netbios-ssn", "imap2, imap",
                                 "postgresql", "mysql",         "ldap",        "microsoft-ds",
                                 "x11",        "snmp",          "ntp",         "kerberos",
                                 "http-alt",   "submission",    "pop3",        "epmap, loc-srv"};
constexpr long kServiceCount = sizeof kServices / sizeof kServices[0];
const char kStates[] = "LEEEETWFGC";

// As our SNMP library writes it: a note, a header and a rule first, then rows of state, local port,
// remote address and service. Each port and service pair is distinct until they run out; every 20th
// row repeats an earlier one with another state, and a note line stands every 5,000 rows.
void WriteTableFile(const std::string& path, long rows) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) {
    perror(path.c_str());
    exit(1);
  }
  fprintf(file, "* 127.0.0.1 SNMPv2c: %ld rows in 1 requests, 0 ms\r\n", rows);
  fprintf(file, "Sta Local Remote                          Service\r\n");
  fprintf(file, "%s\r\n", std::string(60, '-').c_str());
  for (long i = 0; i < rows; ++i) {
    if (i % 5000 == 4999) fprintf(file, "* still walking: %ld rows\r\n", i);
    const long pair = i % 20 == 19 ? i - 17 : i;
    const long port = 1 + pair % 65535;
    const long service = pair / 65535 % kServiceCount;
    const char state = kStates[i % 10];
    char remote[32];
    if (state == 'L') {
      snprintf(remote, sizeof remote, "*");
    } else {
      snprintf(remote, sizeof remote, "10.%ld.%ld.%ld:%ld", i / 65536 % 256, i / 256 % 256, i % 256,
               1024 + i % 60000);
    }
    // Every 50th row names no service.
    const char* service_field = i % 50 == 7 ? "." : kServices[service];
    fprintf(file, " %c  %5ld %-31.31s %s\r\n", state, port, remote, service_field);
  }
  fclose(file);
}

long PeakMemoryKilobytes() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The fastest of a few runs, in seconds.
double TimeReadPortTable(const std::string& table_file, int32_t* channels) {
  double best = 1e9;
  for (int repeat = 0; repeat < 3; ++repeat) {
    DiscardingPlatform platform(CreateSystemPlatform());
    RunContext context(&platform, {"Bench.Prf", "Slct=All,State"});
    context.parameter_line = "Bench.Prf Slct=All,State";
    context.table_file = table_file;
    context.description = "Bench";
    OpenDocument(context);
    const auto start = std::chrono::steady_clock::now();
    ReadPortTable(context);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
    *channels = context.channel_count;
  }
  return best;
}

int RunBenchmark(const std::string& parent) {
  std::string pattern = parent + "/kestrova-bench-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    perror(pattern.c_str());
    return 1;
  }
  const std::string directory = pattern;
  printf("%10s %10s %12s %10s %10s %14s\n", "rows", "channels", "seconds", "rows/s", "x time",
         "peak memory");
  double previous = 0;
  double worst_ratio = 0;
  double largest_seconds = 0;
  for (long rows : {10000L, 100000L, 1000000L}) {
    const std::string table_file = directory + "/Bench" + std::to_string(rows) + ".Xrf";
    WriteTableFile(table_file, rows);
    int32_t channels = 0;
    const double seconds = TimeReadPortTable(table_file, &channels);
    std::filesystem::remove(table_file);
    const double ratio = previous > 0 ? seconds / previous : 0;
    worst_ratio = std::max(worst_ratio, ratio);
    largest_seconds = seconds;
    char ratio_text[16] = "-";
    if (previous > 0) snprintf(ratio_text, sizeof ratio_text, "%.2f", ratio);
    printf("%10ld %10d %12.4f %10.0f %10s %11.1f MB\n", rows, channels, seconds, rows / seconds,
           ratio_text, PeakMemoryKilobytes() / 1024.0);
    previous = seconds;
  }
  std::filesystem::remove_all(directory);
  printf(
      "1,000,000 rows: %.3f s (goal: well under 1 s); ten times the rows: at most %.2f times "
      "the time (goal: at most 11)\n",
      largest_seconds, worst_ratio);
  return 0;
}

}  // namespace
}  // namespace kestrova

int main(int argc, char** argv) {
  const char* temporary = getenv("TMPDIR");
  const std::string parent = argc > 1 ? argv[1] : temporary && *temporary ? temporary : "/tmp";
  return kestrova::RunBenchmark(parent);
}
