#include "budget.h"

namespace morvane {

int BudgetSeconds(const char* text) {
  if (!text || !*text) return kDefaultBudgetSeconds;
  int seconds = 0;
  for (const char* c = text; *c; ++c) {
    if (*c < '0' || *c > '9') return kDefaultBudgetSeconds;
    seconds = seconds * 10 + (*c - '0');
    if (seconds > 600) return kDefaultBudgetSeconds;
  }
  return seconds >= 1 ? seconds : kDefaultBudgetSeconds;
}

}  // namespace morvane
