#include "snmp/library_binding.h"

#include "output/result_writer.h"

namespace kestrova {

bool BindSnmpLibrary(RunContext& context) {
  WriteErrorDocument(context, "Error 2000: Snmp-Library not found");
  return false;
}

void RunSnmpQuery(RunContext&) {}

void ReleaseSnmpLibrary(RunContext&) {}

}  // namespace kestrova
