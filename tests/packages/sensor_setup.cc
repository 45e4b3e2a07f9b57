#include "packages/sensor_setup.h"

#include <regex>

namespace kestrova_test {

namespace {

// Replaces the value on the line that begins with `label`, keeping the line's end.
bool ReplaceValue(std::string* profile, const std::string& label, const std::string& value) {
  size_t start = profile->compare(0, label.size(), label) == 0 ? 0 : profile->find("\n" + label);
  if (start == std::string::npos) return false;
  if (start != 0) ++start;
  const size_t value_start = start + label.size();
  const size_t value_end = profile->find_first_of("\r\n", value_start);
  profile->replace(value_start,
                   value_end == std::string::npos ? value_end : value_end - value_start, value);
  return true;
}

}  // namespace

std::string FilledProfile(const std::string& sample, const std::string& address,
                          const std::string& community) {
  std::string profile = sample;
  if (!ReplaceValue(&profile, "IP-Addr....: ", address) ||
      !ReplaceValue(&profile, "Community..: ", community)) {
    return "";
  }
  return profile;
}

bool ReportsListening(const std::string& output, uint16_t port) {
  const std::regex channel("<Result><Channel>Port\\." + std::to_string(port) +
                           "(?: / [^<]*)?</Channel>\r\n<Unit>Custom</Unit>\r\n"
                           "<CustomUnit>State</CustomUnit>\r\n<Value>L</Value></Result>");
  return std::regex_search(output, channel);
}

}  // namespace kestrova_test
