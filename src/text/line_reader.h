// Reads an input text file line by line: a line ends at CR, an LF right after the CR belongs to that
// line end, an LF alone is an ordinary character, code 26 ends the text, the last line needs no line
// end. Streams through a fixed buffer, so a line of any length costs no more memory than is kept.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace kestrova {

enum class LineStatus { kLine, kEnd, kError };

class LineReader {
 public:
  explicit LineReader(InputFile* file) : file_(file) {}

  // The next line in `line`, of which only the first `max_kept` characters are kept (the rest is
  // skipped). kEnd when the text has no more lines, kError when reading failed.
  LineStatus NextLine(std::string* line, size_t max_kept = std::string::npos);

 private:
  // Makes sure a byte is buffered; false at the end of the text or on an error (error_ set).
  bool Fill();

  InputFile* file_;
  char buffer_[64 * 1024];
  size_t begin_ = 0;
  size_t end_ = 0;
  bool ended_ = false;
  bool error_ = false;
  bool skip_line_feed_ = false;  // the previous line ended in CR; an LF right after it belongs to it
};

}  // namespace kestrova
