#include "snmp/port_table.h"

#include "output/result_writer.h"
#include "run/trace_log.h"

namespace kestrova {

void ReadPortTable(RunContext& context) {
  WriteMessageText(context, "(Snmp) " + context.description + ": TCP Port(s) / Check for TCP-Ports");
  TraceLine(context, "Snmp " + std::to_string(context.channel_count) + " Entries found...");
  CloseDocument(context);
}

void DisposeTableFile(RunContext&) {}

bool EmptyAndDeleteFile(RunContext&, const std::string&) { return true; }

}  // namespace kestrova
