// ReadPortTable over any table file, with a few parameter lines and host flavours.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "output/result_writer.h"
#include "platform/memory_platform.h"
#include "snmp/port_table.h"

namespace {

using kestrova::HostFlavour;

struct Options {
  const char* parameter_line;
  const char* selection;
  const char* state_filter;
  HostFlavour flavour;
  bool unreadable;
};

const Options kOptions[] = {
    {"Router.Prf Slct=All,State=L", "", "L", HostFlavour::kXml, false},
    {"Router.Prf Slct=80,State", "80", "", HostFlavour::kStatistic, false},
    {"Router.Prf State=", "", "", HostFlavour::kContext, false},
    {"Profiler.Prf Slct=All", "", "", HostFlavour::kXml, true},
};

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const Options& options : kOptions) {
    kestrova::MemoryPlatform platform;
    platform.files["Router.Xrf"].assign(reinterpret_cast<const char*>(data), size);
    if (options.unreadable) platform.unreadable.insert("Router.Xrf");
    kestrova::RunContext context(&platform, {"Router.Prf"});
    context.table_file = "Router.Xrf";
    context.parameter_line = options.parameter_line;
    context.selection = options.selection;
    context.state_filter = options.state_filter;
    context.host_flavour = options.flavour;
    context.trace_file = platform.CreateWithReadSharing("Profiler.Trc");
    context.trace_open = true;

    kestrova::OpenDocument(context);
    kestrova::ReadPortTable(context);

    // Each row that is not a duplicate is written at most twice, and the count channel once.
    if (static_cast<size_t>(context.channel_count) > 2 * context.emitted_names.size() + 1) abort();
    const char* closing = options.flavour == HostFlavour::kXml ? "</Prtg>\r\n\r\n" : "\r\n";
    if (!EndsWith(platform.standard_output, closing)) abort();
  }
  return 0;
}
