#include "run/trace_log.h"

#include <gtest/gtest.h>

#include "platform/memory_platform.h"

namespace kestrova {
namespace {

const char kTraceFile[] = "C:\\Sensors\\Profiler.Trc";

class TraceLogTest : public testing::Test {
 protected:
  TraceLogTest() {
    context.sensor_directory = "C:\\Sensors";
    context.parameter_line = "Profiler.Prf Slct=All";
  }

  MemoryPlatform platform;
  RunContext context{&platform, {}};
};

TEST_F(TraceLogTest, StampsEachLineWithTheTimeOfDay) {
  ASSERT_TRUE(OpenTraceLog(context));
  platform.time_of_day = {9, 5, 7};
  TraceLine(context, "Snmp Starting Connection...");
  platform.time_of_day = {14, 5, 7};
  TraceLine(context, "");
  platform.time_of_day = {0, 0, 0};
  TraceLine(context, "x");
  CloseTraceLog(context);
  EXPECT_EQ(platform.files[kTraceFile],
            "09:05:07 Snmp Starting Connection...\r\n14:05:07 \r\n00:00:00 x\r\n");
}

TEST_F(TraceLogTest, ReplacesTheFileOfAnEarlierRun) {
  platform.files[kTraceFile] = "old lines\r\n";
  ASSERT_TRUE(OpenTraceLog(context));
  TraceLine(context, "new");
  EXPECT_EQ(platform.files[kTraceFile], "12:00:00 new\r\n");
}

TEST_F(TraceLogTest, OutsideProfilerModeNothingIsCreatedOrTouched) {
  context.parameter_line = "Router.Prf profiler.prf";
  platform.files[kTraceFile] = "earlier\r\n";
  ASSERT_TRUE(OpenTraceLog(context));
  TraceLine(context, "Snmp x");
  CloseTraceLog(context);
  EXPECT_FALSE(context.trace_open);
  EXPECT_EQ(platform.files[kTraceFile], "earlier\r\n");
  EXPECT_EQ(platform.standard_output, "");
}

TEST_F(TraceLogTest, ProfilerWordInsideALongerArgumentCounts) {
  context.parameter_line = "xProfiler.Prfy";
  ASSERT_TRUE(OpenTraceLog(context));
  EXPECT_TRUE(context.trace_open);
}

TEST_F(TraceLogTest, FileThatCannotBeCreatedEndsTheRunAfterAWait) {
  platform.unwritable.insert(kTraceFile);
  EXPECT_FALSE(OpenTraceLog(context));
  EXPECT_EQ(platform.standard_output, "* Trace-File failed...\r\n");
  EXPECT_EQ(platform.sleeps, std::vector<uint32_t>{1000});
  EXPECT_FALSE(context.trace_open);
  TraceLine(context, "dropped");
  EXPECT_EQ(platform.files.count(kTraceFile), 0u);
}

}  // namespace
}  // namespace kestrova
