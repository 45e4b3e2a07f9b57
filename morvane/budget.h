// The query's time budget as the program passes it: whole seconds as text.
#pragma once

namespace morvane {

constexpr int kDefaultBudgetSeconds = 10;

// 1 to 600 as written in decimal digits; anything else counts as the default.
int BudgetSeconds(const char* text);

}  // namespace morvane
