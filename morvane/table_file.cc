#include "table_file.h"

#include "inet_address.h"

namespace morvane {

namespace {

constexpr size_t kRemoteWidth = 31;
const char kLineEnd[] = "\r\n";

std::string PadLeft(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string PadRight(const std::string& text, size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

}  // namespace

std::string NoteLine(const std::string& note) {
  std::string line = "* ";
  // A control character would end the line early or start a row of its own.
  for (char c : note) line += static_cast<unsigned char>(c) < 32 ? '?' : c;
  return line + kLineEnd;
}

std::string RowLine(const SocketRow& row, const ServiceFields& services) {
  const std::string remote =
      row.listener ? "*" : FormatEndpoint(row.remote_address, row.remote_port);
  const auto service = services.find(row.local_port);
  std::string line = " ";
  line += row.state;
  line += "  " + PadLeft(std::to_string(row.local_port), 5) + " ";
  line += PadRight(remote.substr(0, kRemoteWidth), kRemoteWidth) + " ";
  line += service == services.end() ? "." : service->second;
  return line + kLineEnd;
}

std::string TableText(const std::string& note, const std::vector<SocketRow>& rows,
                      const ServiceFields& services) {
  std::string text = NoteLine(note);
  text += PadRight("Sta Local Remote", 42) + "Service" + kLineEnd;
  text += std::string(60, '-') + kLineEnd;
  for (const SocketRow& row : rows) text += RowLine(row, services);
  return text;
}

}  // namespace morvane
