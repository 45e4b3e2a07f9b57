// One line of the table file: its class, and for a row the channel it stands for.
#pragma once

#include <cstddef>
#include <string>

namespace kestrova {

// The last column any class of line is read to; the rest of a longer line is never looked at.
constexpr size_t kTableLineColumns = 141;

enum class LineClass { kNote, kHeader, kRule, kRow };

// Note "* ", header "Sta Local", rule "-", in that order; every other line is a row.
LineClass ClassOfLine(const std::string& line);
// Columns 3 to 101 of a note line.
std::string NoteText(const std::string& line);

// "Port." + the local port (columns 5 to 9, trimmed), then " / " + the service text unless
// column 43 is ".".
std::string ChannelNameOfRow(const std::string& row);
// Column 2; empty on a shorter row.
std::string StateOfRow(const std::string& row);
// The service field trimmed, cut before its first ",", with its first letter and the letter after
// its first "-" upper-cased.
std::string ServiceText(const std::string& field);

}  // namespace kestrova
