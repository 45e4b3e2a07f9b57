#include "run/parameters.h"

#include "output/result_writer.h"
#include "run/trace_log.h"
#include "text/line_reader.h"
#include "text/text.h"

namespace kestrova {

namespace {

constexpr long kLabelLength = 13;

// Cuts `text` before the first occurrence of `marker`: the marker and everything after it go.
void CutBefore(std::string* text, const std::string& marker) {
  const long at = Find(*text, marker);
  if (at != 0) *text = Piece(*text, 1, at - 1);
}

}  // namespace

void BuildParameterLine(RunContext& context) {
  context.parameter_line.clear();
  for (size_t number = 1; number <= 5; ++number) {
    const std::string& argument = context.Argument(number);
    if (!argument.empty()) context.parameter_line = Trim(context.parameter_line + " " + argument);
  }
}

bool ReadProfile(RunContext& context) {
  context.profile_path = context.sensor_directory + "\\" + context.Argument(1);
  std::string* const values[] = {&context.ip_address, &context.alias, &context.description,
                                 &context.community, &context.system_number};
  static const char* const kLabels[] = {
      "IP-Addr....: ", "Alias......: ", "Description: ", "Community..: ", "Sysnr......: "};
  for (std::string* value : values) value->clear();

  Platform& platform = *context.platform;
  if (!platform.FileExists(context.profile_path)) {
    WriteErrorDocument(context, "Error 1006: Profile " + context.profile_path + " missing...");
    return false;
  }
  auto file = platform.OpenForReading(context.profile_path);
  LineStatus status = file ? LineStatus::kLine : LineStatus::kError;
  if (file) {
    LineReader reader(file.get());
    std::string line;
    // A value is characters 14 to 112: nothing beyond them is ever needed.
    while ((status = reader.NextLine(&line, kLabelLength + kMaxRest)) == LineStatus::kLine) {
      const std::string label = Piece(line, 1, kLabelLength);
      for (size_t i = 0; i < 5; ++i) {
        if (label == kLabels[i]) *values[i] = RestFrom(line, kLabelLength + 1);
      }
    }
  }
  if (status == LineStatus::kError) {
    WriteErrorDocument(context,
                       "Error 1006: Profile " + context.profile_path + " could not be read");
    return false;
  }
  return true;
}

void ReadOptions(RunContext& context) {
  std::string options = context.parameter_line;
  CutBefore(&options, " @");
  CutBefore(&options, " #");
  CutBefore(&options, " (");
  if (Piece(options, 1, 4) == "(Par") options.clear();
  if (Piece(options, 1, 12) == "Profiler.Prf") options = Trim(RestFrom(options, 13));

  TraceLine(context, "Snmp IP=" + context.ip_address + ", Alias=" + context.alias + ".N" +
                         context.system_number);
  TraceLine(context, "Snmp Params: " + options);

  context.selection.clear();
  const long selection_at = Find(options, "Slct=");
  if (selection_at != 0 && Piece(options, selection_at + 5, 3) != "All") {
    context.selection = RestFrom(options, selection_at + 5);
    CutBefore(&context.selection, ",");
  }

  context.state_filter.clear();
  const long state_at = Find(options, "State=");
  if (state_at != 0) context.state_filter = Piece(options, state_at + 6, 1);

  TraceLine(context, "Snmp Path: " + context.sensor_directory);
  TraceLine(context, "Snmp Starting Connection...");
}

}  // namespace kestrova
