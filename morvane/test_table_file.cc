#include "test_table_file.h"

#include <fstream>
#include <sstream>

namespace morvane {

namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Columns(const std::string& line, size_t first, size_t last) {
  return first > line.size() ? "" : line.substr(first - 1, last - first + 1);
}

}  // namespace

TableFile ReadTableFile(const std::filesystem::path& path) {
  TableFile table;
  std::ifstream in(path, std::ios::binary);
  if (!in) return table;
  table.exists = true;
  std::ostringstream content;
  content << in.rdbuf();
  const std::string text = content.str();
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (line.empty() || line.back() != '\r') {
      table.lines_end_in_cr_lf = false;
    } else {
      line.pop_back();
    }
    start = end + 1;
    if (line.rfind("* ", 0) == 0) {
      table.notes.push_back(line.substr(2));
    } else if (line.rfind("Sta Local", 0) != 0 && line.rfind("-", 0) != 0) {
      table.rows.push_back(TableFileRow{line.size() >= 2 ? line[1] : ' ',
                                        Trimmed(Columns(line, 5, 9)),
                                        Trimmed(Columns(line, 11, 41)), Columns(line, 43, 141)});
    }
  }
  return table;
}

}  // namespace morvane
