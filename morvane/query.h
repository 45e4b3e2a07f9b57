// The whole query: from the device's address to the table file.
#pragma once

#include <string>

namespace morvane {

struct QueryOutcome {
  bool ok = false;
  // Success: what was found. Failure: why; the table file then holds only note lines saying so,
  // when it could be written.
  std::string status;
};

// Walks the device's TCP tables and writes the table file whole; ends within `budget_seconds`
// plus the time to write the file.
QueryOutcome RunQuery(const std::string& address, const std::string& community, int budget_seconds,
                      const std::string& table_file);

}  // namespace morvane
