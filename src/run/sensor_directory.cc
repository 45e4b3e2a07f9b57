#include "run/sensor_directory.h"

#include "output/result_writer.h"
#include "text/line_reader.h"
#include "text/text.h"

namespace kestrova {

namespace {

std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The path file: always this absolute path, whatever the start directory.
const char* const kPathFile = "C:\\Prtg_Path.Txt";

const char* const kCandidates[] = {
    "PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Custom Sensors\\ExeXml",
    "Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Programme (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
};

}  // namespace

bool SensorDirectorySetUp(Platform& platform, const std::string& directory, HostFlavour* flavour) {
  const std::string marker =
      directory + (!directory.empty() && directory.back() == '\\' ? "" : "\\") + "Kestrova.Host";
  if (!platform.FileExists(marker)) return false;
  auto file = platform.OpenForReading(marker);
  if (!file) return false;
  std::string first_line;
  if (LineReader(file.get()).NextLine(&first_line) == LineStatus::kError) return false;
  const std::string word = LowerCase(Trim(first_line));
  if (word.empty() || word == "xml") {
    *flavour = HostFlavour::kXml;
  } else if (word == "statistic") {
    *flavour = HostFlavour::kStatistic;
  } else if (word == "context") {
    *flavour = HostFlavour::kContext;
  } else {
    return false;
  }
  return true;
}

bool FindSensorDirectory(RunContext& context) {
  if (context.start_directory_set_up) {
    context.sensor_directory = context.start_directory;
    return true;
  }
  context.sensor_directory.clear();
  Platform& platform = *context.platform;
  const std::string path_file = kPathFile;
  if (!platform.FileExists(path_file)) {
    WriteErrorDocument(context, "Error 1002: File \"" + path_file + "\" not found");
    return false;
  }

  // The last line decides; a file without any line leaves the start directory.
  std::string root = context.start_directory;
  {
    auto file = platform.OpenForReading(path_file);
    LineStatus status = file ? LineStatus::kLine : LineStatus::kError;
    if (file) {
      LineReader reader(file.get());
      std::string line;
      while ((status = reader.NextLine(&line)) == LineStatus::kLine) root.swap(line);
    }
    if (status == LineStatus::kError) {
      WriteErrorDocument(context, "Error 1002: File \"" + path_file + "\" could not be read");
      return false;
    }
  }

  if (!Contains(root, ":")) {
    WriteErrorDocument(context, "Error 1003: Invalid Path within Prtg_Path.Txt found");
    return false;
  }
  if (root.back() != '\\') root += '\\';

  for (const char* sub_path : kCandidates) {
    const std::string candidate = root + sub_path;
    HostFlavour flavour = HostFlavour::kXml;
    if (SensorDirectorySetUp(platform, candidate, &flavour) && flavour == HostFlavour::kXml) {
      context.sensor_directory = candidate;
      return true;
    }
  }
  WriteErrorDocument(context, "Error 1004: Invalid Starting-Path - ");
  return false;
}

}  // namespace kestrova
