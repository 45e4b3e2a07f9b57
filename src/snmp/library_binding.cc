#include "snmp/library_binding.h"

#include "output/result_writer.h"
#include "run/trace_log.h"
#include "snmp/morvane_exports.h"
#include "text/text.h"

namespace kestrova {

namespace {

// Every call into the library goes through the platform's guard, so each is a plain function over
// a block of its inputs and its copied result.

struct LoadCall {
  Platform* platform;
  std::string name;
  LibraryHandle library = nullptr;
};

void CallLoad(void* data) {
  auto* load = static_cast<LoadCall*>(data);
  load->library = load->platform->LoadSharedLibrary(load->name);
}

// Dopen and Dclos take the same two texts.
struct NamedCall {
  MorvaneOpen entry;
  const char* action;
  const char* library_name;
  std::string result{};
};

void CallNamed(void* data) {
  auto* call = static_cast<NamedCall*>(data);
  const char* result = call->entry(call->action, call->library_name);
  call->result = result ? result : "";
}

struct QueryCall {
  MorvaneQuery entry;
  const char* address;
  const char* community;
  const char* request;
  const char* budget;
  const char* table_file;
  std::string result{};
};

void CallQuery(void* data) {
  auto* call = static_cast<QueryCall*>(data);
  const char* result = call->entry(MORVANE_QUERY_PARAMETERS(
      call->address, call->community, call->request, call->budget, call->table_file));
  call->result = result ? result : "";
}

std::string LibraryNameArgument(const RunContext& context) {
  return context.library_base_name + ".DLL";
}

}  // namespace

bool BindSnmpLibrary(RunContext& context) {
  Platform& platform = *context.platform;
  LoadCall load{&platform, context.library_base_name + ".Dll"};
  if (!platform.GuardedCall(CallLoad, &load) || !load.library) {
    WriteErrorDocument(context, "Error 2000: Snmp-Library not found");
    return false;
  }
  context.library = load.library;

  context.version_text = "Dopen";
  if (void* open = platform.FindExport(context.library, "Dopen")) {
    const std::string library_name = LibraryNameArgument(context);
    NamedCall call{reinterpret_cast<MorvaneOpen>(open), "Loading", library_name.c_str()};
    if (!platform.GuardedCall(CallNamed, &call)) {
      WriteErrorDocument(context, "Error 2001: Invalid Handle - Snmp");
      return false;
    }
    context.version_text = call.result;
  }
  TraceLine(context, "Snmp Dll-Version: " + context.version_text);

  context.query_entry = platform.FindExport(context.library, "Snmp");
  if (!context.query_entry) {
    WriteErrorDocument(context, "Error 2002: Invalid Snmp-Handle");
    return false;
  }
  return true;
}

void RunSnmpQuery(RunContext& context) {
  TraceLine(context, "Snmp Processing: " + context.program_name + "...");
  QueryCall call{reinterpret_cast<MorvaneQuery>(context.query_entry),
                 context.ip_address.c_str(),
                 context.community.c_str(),
                 context.program_name.c_str(),
                 "10",
                 context.table_file.c_str()};
  context.start_tick = context.platform->TickCount();
  if (!context.platform->GuardedCall(CallQuery, &call)) {
    const char* const message = "Error 2002: Invalid Snmp-Request";
    // In the XML flavour a whole error document would nest a second <Prtg> inside the open one,
    // which no reader accepts, so there the error always goes inside the document.
    if (Contains(context.parameter_line, "/Check") && context.host_flavour != HostFlavour::kXml) {
      WriteErrorDocument(context, message);
    } else {
      WriteErrorInDocument(context, message);
    }
    return;
  }
  context.end_tick = context.platform->TickCount();
  TraceLine(context, "Snmp " + call.result);
  // Unsigned arithmetic: a wrap of the tick counter during the query still gives the elapsed time.
  context.run_time = context.end_tick - context.start_tick;
  TraceLine(context, "Snmp RunTime: " + std::to_string(context.run_time) + " mSec");
}

void ReleaseSnmpLibrary(RunContext& context) {
  Platform& platform = *context.platform;
  if (void* close = platform.FindExport(context.library, "Dclos")) {
    const std::string library_name = LibraryNameArgument(context);
    NamedCall call{reinterpret_cast<MorvaneClose>(close), "Unloading", library_name.c_str()};
    // Whatever Dclos does, the run has its result already.
    platform.GuardedCall(CallNamed, &call);
  }
  platform.UnloadSharedLibrary(context.library);
  context.library = nullptr;
  context.query_entry = nullptr;
}

}  // namespace kestrova
