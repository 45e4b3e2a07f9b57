// Everything one run shares between its steps. Created at start, released at exit, never saved.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "snmp/channel_name_set.h"

namespace kestrova {

enum class HostFlavour { kXml, kStatistic, kContext };

struct RunContext {
  RunContext(Platform* platform, std::vector<std::string> arguments)
      : platform(platform), arguments(std::move(arguments)) {}

  // The command-line argument `number` (from 1), empty when the command line has fewer.
  const std::string& Argument(size_t number) const;

  Platform* platform;
  std::vector<std::string> arguments;  // argument 1 first; the program name is not among them

  std::string start_directory;
  bool trace_open = false;
  std::unique_ptr<OutputFile> trace_file;
  std::string library_base_name;
  std::string table_file;
  std::string version;
  std::string program_name;
  std::string version_date;
  std::string parameter_line;
  HostFlavour host_flavour = HostFlavour::kXml;
  bool start_directory_set_up = false;
  std::string sensor_directory;

  std::string profile_path;
  std::string ip_address;
  std::string alias;
  std::string description;
  std::string community;
  std::string system_number;
  std::string selection;
  std::string state_filter;

  LibraryHandle library = nullptr;
  void* query_entry = nullptr;
  std::string version_text;
  uint32_t start_tick = 0;
  uint32_t end_tick = 0;
  uint32_t run_time = 0;

  int32_t channel_count = 0;
  // The channel names already handled in this run: an exact set, so a service text holding "#" or
  // "Port." cannot hide a later row, and each row costs constant time.
  ChannelNameSet emitted_names;
};

// The run is in Profiler mode when its parameter line holds "Profiler.Prf" anywhere.
bool InProfilerMode(const RunContext& context);

}  // namespace kestrova
