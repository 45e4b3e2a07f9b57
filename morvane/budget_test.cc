#include "budget.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(BudgetTest, WholeSecondsFromOneTo600ElseTen) {
  const struct {
    const char* text;
    int seconds;
  } cases[] = {
      {"10", 10}, {"1", 1},      {"600", 600}, {"007", 7}, {"0", 10},  {"601", 10},
      {"", 10},   {nullptr, 10}, {"-5", 10},   {" 5", 10}, {"5s", 10}, {"99999999999999", 10},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BudgetSeconds(c.text), c.seconds) << (c.text ? c.text : "null");
}

}  // namespace
}  // namespace morvane
