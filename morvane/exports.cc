// The library's three exports, undecorated, in the program's calling form.
#include <string>

#include "budget.h"
#include "failure.h"
#include "query.h"
#include "snmp/morvane_exports.h"

#if defined(_WIN32)
#define MORVANE_EXPORT __declspec(dllexport)
#else
#define MORVANE_EXPORT __attribute__((visibility("default")))
#endif

#if defined(MORVANE_PRIVATE_RUNTIME)
// The library's private copy of the C++ runtime keeps a buffer for exceptions thrown when memory
// runs out. It would be lost when the library is unloaded, so Dclos gives it back.
namespace __gnu_cxx {
void __freeres();
}
#endif

namespace {

// The texts handed back to the program; each stays valid until the next call.
struct ResultTexts {
  std::string status;
};

ResultTexts results;

const char kVersionText[] = "Morvane 1.0 SNMPv2c/v1";

std::string Text(const char* text) { return text ? text : ""; }

}  // namespace

extern "C" {

MORVANE_EXPORT const char* MORVANE_CALL Dopen(const char*, const char*) { return kVersionText; }

MORVANE_EXPORT const char* MORVANE_CALL
Snmp(MORVANE_QUERY_PARAMETERS(const char* address, const char* community, const char*,
                              const char* budget, const char* table_file)) {
  const morvane::QueryOutcome outcome = morvane::RunQuery(
      Text(address), Text(community), morvane::BudgetSeconds(budget), Text(table_file));
  results.status = outcome.status;
  if (!outcome.ok) morvane::RaiseQueryFailure(results.status.c_str());
  return results.status.c_str();
}

MORVANE_EXPORT const char* MORVANE_CALL Dclos(const char*, const char*) {
  results.status.clear();
  results.status.shrink_to_fit();
#if defined(MORVANE_PRIVATE_RUNTIME)
  __gnu_cxx::__freeres();
#endif
  return "";
}

}  // extern "C"
