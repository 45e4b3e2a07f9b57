#include "snmp/port_table.h"

#include <memory>

#include "output/result_writer.h"
#include "run/trace_log.h"
#include "snmp/port_table_row.h"
#include "text/line_reader.h"
#include "text/text.h"

namespace kestrova {

namespace {

// Which of the two rules the parameter line asks for; the same for every row.
struct RowRules {
  bool select;
  bool filter_by_state;
};

void TreatRow(RunContext& context, const RowRules& rules, const std::string& row) {
  // An exact set of the names seen: a row is a duplicate only when its whole name was seen, so a
  // service text holding "#" or "Port." cannot hide a later row. The rules never look at the set,
  // so entering the name before them is the same as after.
  const std::string name = ChannelNameOfRow(row);
  if (!context.emitted_names.Insert(name)) return;
  const std::string state = StateOfRow(row);
  if (rules.select && (context.selection.empty() || Contains(name, context.selection))) {
    WriteChannel(context, name, state, "State");
  }
  if (rules.filter_by_state && (context.state_filter.empty() || context.state_filter == state)) {
    WriteChannel(context, name, state, "State");
  }
}

void ReadRows(RunContext& context) {
  std::unique_ptr<InputFile> file = context.platform->OpenForReading(context.table_file);
  // A table file that cannot be opened holds no rows for this run; the document is completed all
  // the same.
  if (!file) return;
  const RowRules rules{Contains(context.parameter_line, "Slct="),
                       Contains(context.parameter_line, "State=")};
  LineReader reader(file.get());
  std::string line;
  // A read error ends the rows; the channels written before it stay.
  while (reader.NextLine(&line, kTableLineColumns) == LineStatus::kLine) {
    switch (ClassOfLine(line)) {
      case LineClass::kNote:
        TraceLine(context, "Snmp " + NoteText(line));
        break;
      case LineClass::kHeader:
      case LineClass::kRule:
        break;
      case LineClass::kRow:
        TreatRow(context, rules, line);
        break;
    }
  }
}

}  // namespace

void ReadPortTable(RunContext& context) {
  if (context.platform->FileExists(context.table_file)) ReadRows(context);
  if (Contains(context.parameter_line, ",State")) {
    WriteChannel(context, "No.of.Tcp-Ports", std::to_string(context.channel_count), "Entries");
  }
  WriteMessageText(context,
                   "(Snmp) " + context.description + ": TCP Port(s) / Check for TCP-Ports");
  TraceLine(context, "Snmp " + std::to_string(context.channel_count) + " Entries found...");
  CloseDocument(context);
}

void DisposeTableFile(RunContext& context) {
  if (InProfilerMode(context)) return;
  context.platform->SleepMilliseconds(1000);
  EmptyAndDeleteFile(context, context.table_file);
}

bool EmptyAndDeleteFile(RunContext& context, const std::string& name) {
  Platform& platform = *context.platform;
  if (!platform.FileExists(name)) return true;
  return platform.TruncateFile(name) && platform.RemoveFile(name);
}

}  // namespace kestrova
