#include "snmp/port_table_row.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

// A row with state `state`, the port right-aligned in columns 5 to 9 and `service` from column 43.
std::string Row(const std::string& state, const std::string& port, const std::string& service) {
  std::string row = " " + state + "  " + std::string(5 - port.size(), ' ') + port;
  return row + std::string(42 - row.size(), ' ') + service;
}

TEST(LineClassTest, FirstMatchingTestDecides) {
  const struct {
    const char* line;
    LineClass line_class;
  } cases[] = {
      {"* comment text", LineClass::kNote},
      {"* ", LineClass::kNote},
      {"*comment", LineClass::kRow},
      {"*", LineClass::kRow},
      {" * comment", LineClass::kRow},
      {"Sta Local", LineClass::kHeader},
      {"Sta Local Remote", LineClass::kHeader},
      {"STA LOCAL", LineClass::kRow},
      {"sta local", LineClass::kRow},
      {"Sta Loca", LineClass::kRow},
      {"-", LineClass::kRule},
      {"-- L 25", LineClass::kRule},
      {"- * note", LineClass::kRule},
      {" L  -25", LineClass::kRow},
      {"", LineClass::kRow},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassOfLine(c.line), c.line_class) << '"' << c.line << '"';
}

TEST(LineClassTest, NoteTextIsColumnsThreeToHundredAndOne) {
  EXPECT_EQ(NoteText("* comment text"), "comment text");
  EXPECT_EQ(NoteText("* "), "");
  const std::string long_note = "* " + std::string(99, 'a') + "bc";
  EXPECT_EQ(NoteText(long_note), std::string(99, 'a'));
}

TEST(ServiceTextTest, FollowsTheServiceFieldRules) {
  const struct {
    const char* field;
    const char* text;
  } cases[] = {
      {"smtp, mail", "Smtp"},
      {"netbios-ssn", "Netbios-Ssn"},
      {"ms-wbt-server", "Ms-Wbt-server"},
      {"ftp ,data", "Ftp "},
      {",x", ""},
      {"9-pin", "9-Pin"},
      {"-abc", "-Abc"},
      {"ssh-", "Ssh-"},
      {"  imap  \t", "Imap"},
      {" , x", ""},
      {"a-1b", "A-1b"},
      {"\xe9t\xe9", "\xe9t\xe9"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ServiceText(c.field), c.text) << '"' << c.field << '"';
}

TEST(RowTest, NameAndStateFollowTheColumns) {
  const struct {
    std::string row;
    std::string name;
    const char* state;
  } cases[] = {
      {Row("L", "25", "smtp, mail"), "Port.25 / Smtp", "L"},
      {Row("E", "139", "netbios-ssn"), "Port.139 / Netbios-Ssn", "E"},
      {Row("L", "135", "."), "Port.135", "L"},
      {Row("L", "135", ".anything"), "Port.135", "L"},
      {Row("L", "3389", "ms-wbt-server"), "Port.3389 / Ms-Wbt-server", "L"},
      // Shorter than 43 columns: no "." in column 43, so the name ends in " / ".
      {" L     25", "Port.25 / ", "L"},
      {" L  12", "Port.12 / ", "L"},
      {"x", "Port. / ", ""},
      {"", "Port. / ", ""},
      // The port is not tested to be a number.
      {Row("?", "a b", "x"), "Port.a b / X", "?"},
      {" L 123456789", "Port.23456 / ", "L"},
      // The service field is cut to columns 43 to 141 before it is trimmed.
      {Row("L", "25", std::string(98, ' ') + "ab"), "Port.25 / A", "L"},
      {Row("L", "25", std::string(100, 'x')), "Port.25 / X" + std::string(98, 'x'), "L"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChannelNameOfRow(c.row), c.name) << '"' << c.row << '"';
    EXPECT_EQ(StateOfRow(c.row), c.state) << '"' << c.row << '"';
  }
}

}  // namespace
}  // namespace kestrova
