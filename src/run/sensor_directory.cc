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

}  // namespace

bool SensorDirectorySetUp(Platform& platform, const std::string& directory, HostFlavour* flavour) {
  const std::string marker =
      directory + (!directory.empty() && directory.back() == '\\' ? "" : "\\") + "Kestrova.Host";
  if (!platform.FileExists(marker)) return false;
  auto file = platform.OpenForReading(marker);
  if (!file) return false;
  std::string first_line;
  if (LineReader(file.get()).NextLine(&first_line, 64) == LineStatus::kError) return false;
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
  context.sensor_directory = context.start_directory;
  return true;
}

}  // namespace kestrova
