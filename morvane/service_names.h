// Service names from the platform's services database, for the table file's service field.
#pragma once

#include <set>

#include "table_file.h"

namespace morvane {

// The service field of each given TCP port that the database names; ports it lacks are left out.
ServiceFields TcpServiceFields(const std::set<uint16_t>& ports);

}  // namespace morvane
