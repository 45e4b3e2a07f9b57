#include "text/line_reader.h"

#include <algorithm>
#include <cstring>

namespace kestrova {

namespace {
constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;
constexpr char kEndOfText = 26;
}  // namespace

bool LineReader::Fill() {
  if (begin_ < end_) return true;
  if (ended_) return false;
  const long got = file_->Read(buffer_, sizeof buffer_);
  if (got <= 0) {
    ended_ = true;
    error_ = got < 0;
    return false;
  }
  begin_ = 0;
  end_ = static_cast<size_t>(got);
  return true;
}

LineStatus LineReader::NextLine(std::string* line, size_t max_kept) {
  line->clear();
  if (skip_line_feed_) {
    skip_line_feed_ = false;
    if (Fill() && buffer_[begin_] == kLineFeed) ++begin_;
  }
  bool any = false;  // a character or a line end of this line has been met
  while (Fill()) {
    const char* start = buffer_ + begin_;
    const size_t available = end_ - begin_;
    // The first CR or code 26 ends this line's characters.
    size_t n = 0;
    while (n < available && start[n] != kCarriageReturn && start[n] != kEndOfText) ++n;
    if (line->size() < max_kept) line->append(start, std::min(n, max_kept - line->size()));
    begin_ += n;
    any = any || n > 0;
    if (n == available) continue;
    if (start[n] == kEndOfText) {
      ended_ = true;
      begin_ = end_;
      return any ? LineStatus::kLine : LineStatus::kEnd;
    }
    ++begin_;  // the CR
    skip_line_feed_ = true;
    return LineStatus::kLine;
  }
  if (error_) return LineStatus::kError;
  return any ? LineStatus::kLine : LineStatus::kEnd;
}

}  // namespace kestrova
