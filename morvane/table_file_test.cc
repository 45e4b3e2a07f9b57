#include "table_file.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

// Columns counted from 1, as the program's reader counts them.
std::string Columns(const std::string& line, size_t first, size_t last) {
  return first > line.size() ? "" : line.substr(first - 1, last - first + 1);
}

TEST(TableFileTest, RowsPutEachFieldInItsColumns) {
  const ServiceFields services = {{22, "ssh"}, {25, "smtp, mail"}};
  const struct {
    SocketRow row;
    const char* state;
    const char* port;
    const char* remote;
    const char* service;
  } cases[] = {
      {SocketRow{'L', true, "0.0.0.0", 25, "", 0}, "L", "   25", "*", "smtp, mail"},
      {SocketRow{'E', false, "10.0.0.1", 22, "192.0.2.200", 65535}, "E", "   22",
       "192.0.2.200:65535", "ssh"},
      {SocketRow{'T', false, "::1", 65535, "::1", 80}, "T", "65535", "[::1]:80", "."},
      {SocketRow{'W', false, "2001:db8::1", 1, "2001:db8:1111:2222:3333:4444:5555:6666", 443}, "W",
       "    1", "[2001:db8:1111:2222:3333:4444:5", "."},
  };
  for (const auto& c : cases) {
    const std::string line = RowLine(c.row, services);
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    const std::string text = line.substr(0, line.size() - 2);
    EXPECT_EQ(Columns(text, 1, 1), " ");
    EXPECT_EQ(Columns(text, 2, 2), c.state);
    EXPECT_EQ(Columns(text, 5, 9), c.port);
    std::string remote = Columns(text, 11, 41);
    remote.erase(remote.find_last_not_of(' ') + 1);
    EXPECT_EQ(remote, c.remote);
    EXPECT_EQ(Columns(text, 42, 42), " ");
    EXPECT_EQ(text.substr(42), c.service);
  }
}

TEST(TableFileTest, TextIsNoteHeaderRuleThenRows) {
  const std::vector<SocketRow> rows = {SocketRow{'L', true, "", 22, "", 0},
                                       SocketRow{'E', false, "::1", 22, "::1", 5000}};
  const std::string text = TableText("192.0.2.1 SNMPv2c: 2 rows", rows, {{22, "ssh"}});
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "* 192.0.2.1 SNMPv2c: 2 rows");
  EXPECT_EQ(lines[1].substr(0, 9), "Sta Local");
  EXPECT_EQ(lines[1].substr(42), "Service");
  EXPECT_EQ(lines[2], std::string(60, '-'));
  EXPECT_EQ(lines[3], " L     22 *                               ssh");
  EXPECT_EQ(lines[4], " E     22 [::1]:5000                      ssh");
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
}

TEST(TableFileTest, NoteLinesCannotBreakIntoSeveralLines) {
  EXPECT_EQ(NoteLine("a\r\nb\tc"), "* a??b?c\r\n");
}

}  // namespace
}  // namespace morvane
