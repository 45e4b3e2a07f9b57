// The text helpers every step shares. Positions count from 1; searches give 0 when absent.
#pragma once

#include <cstddef>
#include <string>

namespace kestrova {

// The longest rest of a text that a step ever takes from some position on.
constexpr long kMaxRest = 99;

// `length` characters from position `start`. A start below 1 counts as 1 without shortening the
// length; a start beyond the end or a negative length gives ""; a length beyond the end gives the rest.
std::string Piece(const std::string& text, long start, long length);

// The rest of `text` from position `start` on, at most kMaxRest characters.
std::string RestFrom(const std::string& text, long start);

// Position of the first occurrence of `pattern`, 0 when absent. An empty pattern is never found.
long Find(const std::string& text, const std::string& pattern);
bool Contains(const std::string& text, const std::string& pattern);
bool StartsWith(const std::string& text, const std::string& prefix);

// Removes every character of code 32 or below from both ends.
std::string Trim(const std::string& text);

// Changes only "a" to "z".
char UpperCase(char c);

}  // namespace kestrova
