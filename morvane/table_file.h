// The text of the table file the program reads back: note lines "* ...", a header line, a rule
// line and one row per socket, every line ending in CR LF.
//
// Row columns (from 1): 2 state letter; 5-9 local port, right-aligned; 11-41 remote address:port
// (IPv6 in brackets) cut to 31 characters, or "*" for a listener; 43 on the service field, "."
// when the services database has no name for the port.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tcp_tables.h"

namespace morvane {

// The service field by local port: the name, then ", " and each alias.
using ServiceFields = std::unordered_map<uint16_t, std::string>;

std::string NoteLine(const std::string& note);
std::string RowLine(const SocketRow& row, const ServiceFields& services);
std::string TableText(const std::string& note, const std::vector<SocketRow>& rows,
                      const ServiceFields& services);

}  // namespace morvane
