#include "platform/system_platform.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <unistd.h>

#include <cstdio>
#include <string>

namespace kestrova {
namespace {

// Standard output goes to a temporary file while `write` runs; what reached it comes back.
template <typename Write>
std::string CapturedStandardOutput(Write write) {
  std::fflush(stdout);
  std::FILE* capture = std::tmpfile();
  const int saved = dup(STDOUT_FILENO);
  dup2(fileno(capture), STDOUT_FILENO);
  write();
  dup2(saved, STDOUT_FILENO);
  close(saved);
  std::string text;
  std::rewind(capture);
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, capture)) > 0;) {
    text.append(buffer, got);
  }
  std::fclose(capture);
  return text;
}

TEST(SystemPlatformTest, ALargeDocumentArrivesWholeAndInOrder) {
  std::string expected;
  for (int line = 0; line < 20000; ++line) {
    expected += "<Result><Channel>Port." + std::to_string(line) + "</Channel></Result>\r\n";
  }
  const std::string written = CapturedStandardOutput([&] {
    auto platform = CreateSystemPlatform();
    for (size_t at = 0; at < expected.size();) {
      const size_t line_end = expected.find('\n', at) + 1;
      platform->WriteStandardOutput(expected.substr(at, line_end - at));
      at = line_end;
    }
    platform->FlushStandardOutput();
  });
  EXPECT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);
}

}  // namespace
}  // namespace kestrova
#endif
