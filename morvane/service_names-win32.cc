#include <winsock2.h>

#include "service_names.h"

namespace morvane {

// Winsock has no enumeration of the database; the caller holds a NetworkScope.
ServiceFields TcpServiceFields(const std::set<uint16_t>& ports) {
  ServiceFields fields;
  for (uint16_t port : ports) {
    const servent* entry = getservbyport(htons(port), "tcp");
    if (!entry) continue;
    std::string field = entry->s_name;
    for (char** alias = entry->s_aliases; alias && *alias; ++alias)
      field += ", " + std::string(*alias);
    fields.emplace(port, field);
  }
  return fields;
}

}  // namespace morvane
