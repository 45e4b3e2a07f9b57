#include "run/run_sequence.h"

#include "output/result_writer.h"
#include "run/parameters.h"
#include "run/sensor_directory.h"
#include "run/trace_log.h"
#include "snmp/library_binding.h"
#include "snmp/port_table.h"
#include "text/text.h"

namespace kestrova {

std::string TableFileNameFor(const std::string& first_argument) {
  const long length = static_cast<long>(first_argument.size());
  std::string name = Piece(first_argument, 1, length - 4) + ".X";
  name += length == 1 ? first_argument : Piece(first_argument, length - 1, 2);
  if (Piece(name, 1, 8) == "Profiler") return "Profiler.Xxx";
  return name;
}

namespace {

// How long a run waits for another run of the same table file: as long as a query may take. After
// that it goes on without the lock, as runs always did.
constexpr uint32_t kTableLockWaitMilliseconds = 10000;

// The table file's full path, letter case aside (Windows names ignore it), names the lock.
std::string TableLockName(const RunContext& context) {
  const std::string& name = context.table_file;
  const bool absolute = Piece(name, 2, 1) == ":" || StartsWith(name, "\\") || StartsWith(name, "/");
  std::string path = absolute ? name : context.start_directory + "\\" + name;
  for (char& c : path) c = UpperCase(c);
  return path;
}

void StartUp(RunContext& context) {
  context.start_directory = context.platform->CurrentDirectory();
  context.parameter_line.clear();
  context.trace_open = false;
  context.library_base_name = "Morvane";
  context.table_file = TableFileNameFor(context.Argument(1));
  context.version = "1.3";
  context.program_name = "Kestrova";
  context.version_date = "26.01.22";
}

void DecideHostFlavour(RunContext& context) {
  HostFlavour flavour = HostFlavour::kXml;
  context.start_directory_set_up =
      SensorDirectorySetUp(*context.platform, context.start_directory, &flavour);
  context.host_flavour = context.start_directory_set_up ? flavour : HostFlavour::kXml;
}

// Steps up to the binding of the library; false when one of them ended the run.
bool Prepare(RunContext& context) {
  if (!FindSensorDirectory(context)) return false;
  if (!ReadProfile(context)) return false;
  if (!OpenTraceLog(context)) return false;
  TraceLine(context, "Snmp " + context.program_name + " Ver " + context.version + " / " +
                         context.version_date);
  ReadOptions(context);
  return BindSnmpLibrary(context);
}

}  // namespace

int RunSensor(RunContext& context) {
  StartUp(context);
  BuildParameterLine(context);
  DecideHostFlavour(context);
  // An early end leaves everything as it is; the end of the process releases it.
  if (!Prepare(context)) return 0;
  OpenDocument(context);
  // Runs for one table file take turns from the query to the wipe, so that none wipes the table
  // another run's library has just written.
  std::unique_ptr<RunLock> table_lock =
      context.platform->AcquireRunLock(TableLockName(context), kTableLockWaitMilliseconds);
  RunSnmpQuery(context);
  ReadPortTable(context);
  ReleaseSnmpLibrary(context);
  DisposeTableFile(context);
  table_lock.reset();
  TraceLine(context, "Snmp Ending Connection");
  CloseTraceLog(context);
  return 0;
}

}  // namespace kestrova
