// Reads a table file back by the columns the program reads.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace morvane {

struct TableFileRow {
  char state;
  std::string port;     // columns 5-9, trimmed
  std::string remote;   // columns 11-41, trimmed
  std::string service;  // from column 43
};

struct TableFile {
  bool exists = false;
  bool lines_end_in_cr_lf = true;
  std::vector<std::string> notes;  // without "* "
  std::vector<TableFileRow> rows;
};

TableFile ReadTableFile(const std::filesystem::path& path);

}  // namespace morvane
