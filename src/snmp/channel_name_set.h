// The channel names a run has handled: an exact set, flat in memory, so that a table of a million
// rows costs one probe of one array per row and no allocation per name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class ChannelNameSet {
 public:
  // True when `name` was not in the set yet; it is in the set afterwards.
  bool Insert(std::string_view name);
  bool Contains(std::string_view name) const;
  size_t size() const { return count_; }

 private:
  struct Slot {
    uint64_t hash;
    size_t offset;  // into names_; kEmpty when the slot is free
    size_t length;
  };
  static constexpr size_t kEmpty = ~size_t{0};

  // Position of `name` or of the free slot where it belongs.
  size_t Probe(std::string_view name, uint64_t hash) const;
  void Grow();

  std::string names_;  // every name, one after another
  std::vector<Slot> slots_;
  size_t count_ = 0;
};

}  // namespace kestrova
