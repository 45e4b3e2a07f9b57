#include "snmp/port_table_row.h"

#include "text/text.h"

namespace kestrova {

LineClass ClassOfLine(const std::string& line) {
  if (StartsWith(line, "* ")) return LineClass::kNote;
  if (StartsWith(line, "Sta Local")) return LineClass::kHeader;
  if (StartsWith(line, "-")) return LineClass::kRule;
  return LineClass::kRow;
}

std::string NoteText(const std::string& line) { return RestFrom(line, 3); }

std::string ChannelNameOfRow(const std::string& row) {
  std::string name = "Port." + Trim(Piece(row, 5, 5));
  if (Piece(row, 43, 1) != ".") name += " / " + ServiceText(RestFrom(row, 43));
  return name;
}

std::string StateOfRow(const std::string& row) { return Piece(row, 2, 1); }

std::string ServiceText(const std::string& field) {
  std::string text = Trim(field);
  // The cut text keeps a blank before the comma: it is not trimmed again.
  const long comma = Find(text, ",");
  if (comma != 0) text = Piece(text, 1, comma - 1);
  if (!text.empty()) text[0] = UpperCase(text[0]);
  const long dash = Find(text, "-");
  const size_t after_dash = static_cast<size_t>(dash);  // positions count from 1
  if (dash != 0 && after_dash < text.size()) text[after_dash] = UpperCase(text[after_dash]);
  return text;
}

}  // namespace kestrova
