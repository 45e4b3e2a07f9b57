#include "snmp/channel_name_set.h"

#include <functional>

namespace kestrova {

size_t ChannelNameSet::Probe(std::string_view name, uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t at = hash & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.offset == kEmpty) return at;
    if (slot.hash == hash && std::string_view(names_).substr(slot.offset, slot.length) == name) {
      return at;
    }
  }
}

void ChannelNameSet::Grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{0, kEmpty, 0});
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.offset == kEmpty) continue;
    size_t at = slot.hash & mask;
    while (slots_[at].offset != kEmpty) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

bool ChannelNameSet::Contains(std::string_view name) const {
  if (count_ == 0) return false;
  return slots_[Probe(name, std::hash<std::string_view>()(name))].offset != kEmpty;
}

bool ChannelNameSet::Insert(std::string_view name) {
  // At most half full, so probe runs stay short.
  if (2 * (count_ + 1) > slots_.size()) Grow();
  const uint64_t hash = std::hash<std::string_view>()(name);
  const size_t at = Probe(name, hash);
  if (slots_[at].offset != kEmpty) return false;
  slots_[at] = Slot{hash, names_.size(), name.size()};
  names_.append(name);
  ++count_;
  return true;
}

}  // namespace kestrova
