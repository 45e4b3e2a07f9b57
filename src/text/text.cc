#include "text/text.h"

namespace kestrova {

std::string Piece(const std::string& text, long start, long length) {
  if (start < 1) start = 1;
  const long size = static_cast<long>(text.size());
  if (start > size || length < 0) return std::string();
  return text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length));
}

std::string RestFrom(const std::string& text, long start) { return Piece(text, start, kMaxRest); }

long Find(const std::string& text, const std::string& pattern) {
  if (pattern.empty()) return 0;
  const size_t at = text.find(pattern);
  return at == std::string::npos ? 0 : static_cast<long>(at) + 1;
}

bool Contains(const std::string& text, const std::string& pattern) {
  return Find(text, pattern) != 0;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

static bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

char UpperCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace kestrova
