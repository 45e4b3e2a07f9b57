#include <netdb.h>
#include <netinet/in.h>

#include <cstring>

#include "service_names.h"

namespace morvane {

// One pass over the database instead of getservbyport per port: a lookup scans the whole file
// each time, which thousands of ephemeral ports would turn into the slowest part of a query. The
// first tcp entry of a port wins, as with getservbyport.
ServiceFields TcpServiceFields(const std::set<uint16_t>& ports) {
  ServiceFields fields;
  if (ports.empty()) return fields;
  setservent(0);
  while (const servent* entry = getservent()) {
    const uint16_t port = ntohs(static_cast<uint16_t>(entry->s_port));
    if (std::strcmp(entry->s_proto, "tcp") != 0 || !ports.count(port) || fields.count(port)) {
      continue;
    }
    std::string field = entry->s_name;
    for (char** alias = entry->s_aliases; alias && *alias; ++alias)
      field += ", " + std::string(*alias);
    fields.emplace(port, field);
  }
  endservent();
  return fields;
}

}  // namespace morvane
