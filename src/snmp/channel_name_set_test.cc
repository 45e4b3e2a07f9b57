#include "snmp/channel_name_set.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrova {
namespace {

TEST(ChannelNameSetTest, FindsExactlyTheNamesInsertedBefore) {
  ChannelNameSet set;
  EXPECT_TRUE(set.Insert("Port.25 / Smtp"));
  EXPECT_FALSE(set.Insert("Port.25 / Smtp"));
  // Prefixes, extensions and names that only differ in letter case are other names.
  EXPECT_TRUE(set.Insert("Port.25"));
  EXPECT_TRUE(set.Insert("Port.25 / Smtp#"));
  EXPECT_TRUE(set.Insert("port.25 / smtp"));
  EXPECT_TRUE(set.Insert(""));
  EXPECT_FALSE(set.Insert(""));
  EXPECT_EQ(set.size(), 5u);
  EXPECT_TRUE(set.Contains("Port.25"));
  EXPECT_FALSE(set.Contains("Port.2"));
}

TEST(ChannelNameSetTest, AgreesWithAnOrderedSetAcrossGrowth) {
  ChannelNameSet set;
  std::set<std::string> reference;
  // Many names, many repeats, names that are prefixes of each other: every growth step is crossed.
  for (int i = 0; i < 200000; ++i) {
    const std::string name = "Port." + std::to_string(i * 7919 % 50021) + (i % 3 ? " / S" : "");
    ASSERT_EQ(set.Insert(name), reference.insert(name).second) << name;
    ASSERT_TRUE(set.Contains(name));
  }
  EXPECT_EQ(set.size(), reference.size());
}

}  // namespace
}  // namespace kestrova
